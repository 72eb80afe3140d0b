#include "WMIObject.h"

#include "ErrorCodes.h"
#include "WMIException.h"
#include "WMIParameter.h"
#include "WMIResult.h"
#include "WMIText.h"

WMIObject::WMIObject(const std::string& name, IWbemServices* services, const WMISecurity& security)
    : services(services), security(security) {
    if (services == nullptr)
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "using null init WMIObject");
    className = toBstr(name);
    if (className == nullptr) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    const HRESULT result = services->GetObject(className, 0, nullptr, &classObject, nullptr);
    if (result != S_OK) {
        if (classObject != nullptr) classObject->Release();
        SysFreeString(className);
        throw WMIException(__FILE__, __LINE__, result);
    }
}

WMIObject::~WMIObject() {
    if (classObject != nullptr) classObject->Release();
    SysFreeString(className);
}

WMIResult* WMIObject::execMethod(const char* methodName, WMIParameter* in) {
    return execMethod(std::string(methodName == nullptr ? "" : methodName), in);
}

WMIResult* WMIObject::execMethod(const std::string& methodName, WMIParameter* in) {
    security.setProxyBlanket(services);
    const BstrHolder method(methodName);
    IWbemClassObject* out = nullptr;
    const HRESULT result =
        services->ExecMethod(className, method.get(), 0, nullptr,
                             in == nullptr ? nullptr : in->getInstance(), &out, nullptr);
    if (result != S_OK) {
        if (out != nullptr) out->Release();
        throw WMIException(__FILE__, __LINE__, result);
    }
    if (out == nullptr) return nullptr;
    WMIResult* outParameters = nullptr;
    try {
        outParameters = new WMIResult(out);
    } catch (...) {
        out->Release();
        throw;
    }
    out->Release();
    return outParameters;
}

WMIParameter* WMIObject::getInParameters(const std::string& methodName) {
    const BstrHolder method(methodName);
    IWbemClassObject* signature = nullptr;
    const HRESULT result = classObject->GetMethod(method.get(), 0, &signature, nullptr);
    if (result != S_OK) {
        if (signature != nullptr) signature->Release();
        throw WMIException(__FILE__, __LINE__, result);
    }
    if (signature == nullptr) return nullptr;
    WMIParameter* parameters = nullptr;
    try {
        parameters = new WMIParameter(signature);
    } catch (...) {
        signature->Release();
        throw;
    }
    signature->Release();
    return parameters;
}

WMIParameter* WMIObject::createInstance() {
    // A failed spawn leaves a null object, which the parameter's constructor refuses.
    IWbemClassObject* spawned = nullptr;
    classObject->SpawnInstance(0, &spawned);
    WMIParameter* instance = nullptr;
    try {
        instance = new WMIParameter(spawned);
    } catch (...) {
        if (spawned != nullptr) spawned->Release();
        throw;
    }
    spawned->Release();
    return instance;
}
