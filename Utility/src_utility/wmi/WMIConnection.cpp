#include "WMIConnection.h"

#include "DBUrl.h"
#include "ErrorCodes.h"
#include "Trace.h"
#include "WMIException.h"
#include "WMIObject.h"
#include "WMIParameter.h"
#include "WMIResult.h"
#include "WMIStatement.h"
#include "miscellanea.h"

namespace {

// The formatter is never handed a null string.
const wchar_t* orEmpty(const BstrHolder& text) { return text ? text.get() : L""; }

}  // namespace

// A failed constructor runs no destructor of its own, but its members' and locals' run: whatever
// was taken by then is given back by them.
WMIConnection::WMIConnection(const DBUrl& url) {
    ComRef<IWbemLocator> locator;
    const HRESULT created = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWbemLocator, locator.putVoid());
    if (created != S_OK) throw WMIException(__FILE__, __LINE__, created);
    connect(locator.get(), url);
}

void WMIConnection::connect(IWbemLocator* locator, const DBUrl& url) {
    const std::string host = url.getDatabaseName();
    path = BstrHolder("\\\\" + host + "\\" + url.getProperty("namespace"));
    fileTrace(4, __FILE__, __LINE__, "wmi connect ns[%ws] user[%ws] pwd[%ws]", orEmpty(path),
              orEmpty(user), orEmpty(password));

    if (isLocalHost(host)) {
        // The local machine is reached with the caller's own credentials.
        const HRESULT result = locator->ConnectServer(path.get(), nullptr, nullptr, nullptr, 0,
                                                      nullptr, nullptr, services.put());
        if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
        user = BstrHolder("");
        password = BstrHolder("");
        security.setCredentials(user.get(), password.get());
        return;
    }
    user = BstrHolder(url.getProperty("user"));
    password = BstrHolder(url.getProperty("password"));
    const HRESULT result = locator->ConnectServer(path.get(), user.get(), password.get(), nullptr,
                                                  0, nullptr, nullptr, services.put());
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    security.setCredentials(user.get(), password.get());
    security.setProxyBlanket(services.get());
}

DBStatement* WMIConnection::createStatement() {
    security.setProxyBlanket(services.get());
    return new WMIStatement(services.get(), security);
}

void WMIConnection::setAutoCommit(bool) {}

bool WMIConnection::getAutoCommit() { return false; }

void WMIConnection::commit() {}

void WMIConnection::rollback() {}

WMIObject* WMIConnection::getObject(const std::string& className) {
    return new WMIObject(className, services.get(), security);
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
