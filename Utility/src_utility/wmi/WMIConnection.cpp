#include "WMIConnection.h"

#include "DBUrl.h"
#include "ErrorCodes.h"
#include "Trace.h"
#include "WMIException.h"
#include "WMIObject.h"
#include "WMIParameter.h"
#include "WMIResult.h"
#include "WMIStatement.h"
#include "WMIText.h"
#include "miscellanea.h"

namespace {

BSTR newBstr(const std::string& text) {
    BSTR value = toBstr(text);
    if (value == nullptr) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    return value;
}

void replace(BSTR& target, BSTR value) {
    SysFreeString(target);
    target = value;
}

// The formatter is never handed a null string.
const wchar_t* orEmpty(BSTR text) { return text == nullptr ? L"" : text; }

}  // namespace

WMIConnection::WMIConnection(const DBUrl& url) {
    IWbemLocator* locator = nullptr;
    const HRESULT created = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWbemLocator, reinterpret_cast<void**>(&locator));
    if (created != S_OK) {
        if (locator != nullptr) locator->Release();
        throw WMIException(__FILE__, __LINE__, created);
    }
    // A failed constructor runs no destructor, so it gives back what it took itself.
    try {
        connect(locator, url);
    } catch (...) {
        locator->Release();
        release();
        throw;
    }
    locator->Release();
}

void WMIConnection::connect(IWbemLocator* locator, const DBUrl& url) {
    const std::string host = url.getDatabaseName();
    path = newBstr("\\\\" + host + "\\" + url.getProperty("namespace"));
    fileTrace(4, __FILE__, __LINE__, "wmi connect ns[%ws] user[%ws] pwd[%ws]", orEmpty(path),
              orEmpty(user), orEmpty(password));

    if (isLocalHost(host)) {
        // The local machine is reached with the caller's own credentials.
        const HRESULT result =
            locator->ConnectServer(path, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
        if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
        replace(user, newBstr(""));
        replace(password, newBstr(""));
        security.setCredentials(user, password);
        return;
    }
    replace(user, newBstr(url.getProperty("user")));
    replace(password, newBstr(url.getProperty("password")));
    const HRESULT result =
        locator->ConnectServer(path, user, password, nullptr, 0, nullptr, nullptr, &services);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    security.setCredentials(user, password);
    security.setProxyBlanket(services);
}

void WMIConnection::release() {
    if (services != nullptr) services->Release();
    services = nullptr;
    replace(password, nullptr);
    replace(user, nullptr);
    replace(path, nullptr);
}

WMIConnection::~WMIConnection() { release(); }

DBStatement* WMIConnection::createStatement() {
    security.setProxyBlanket(services);
    return new WMIStatement(services, security);
}

void WMIConnection::setAutoCommit(bool) {}

bool WMIConnection::getAutoCommit() { return false; }

void WMIConnection::commit() {}

void WMIConnection::rollback() {}

WMIObject* WMIConnection::getObject(const std::string& className) {
    return new WMIObject(className, services, security);
}

void WMIConnection::putInstance(const WMIParameter& instance) {
    putInstance(instance.getInstance());
}

void WMIConnection::putInstance(const WMIResult& instance) {
    if (instance.empty())
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "using null init WMIResult");
    putInstance(instance.getObject());
}

void WMIConnection::putInstance(IWbemClassObject* instance) {
    const HRESULT result = services->PutInstance(instance, 0, nullptr, nullptr);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
}

void WMIConnection::deleteInstance(const std::string& objectPath) {
    const BstrHolder objectPathText(objectPath);
    const HRESULT result = services->DeleteInstance(objectPathText.get(), 0, nullptr, nullptr);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
}
