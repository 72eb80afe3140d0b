#include "WMIObject.h"

#include "ErrorCodes.h"
#include "WMIException.h"
#include "WMIParameter.h"
#include "WMIResult.h"
#include "WMIText.h"

namespace {

// Wraps an object reference that a WMI call handed over: the holder takes its own reference and
// the handed one is released, also when the holder cannot be made.
template <class Holder>
Holder* adopt(IWbemClassObject* object) {
    Holder* holder = nullptr;
    try {
        holder = new Holder(object);
    } catch (...) {
        if (object != nullptr) object->Release();
        throw;
    }
    object->Release();
    return holder;
}

}  // namespace

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
    return out == nullptr ? nullptr : adopt<WMIResult>(out);
}

WMIParameter* WMIObject::getInParameters(const std::string& methodName) {
    const BstrHolder method(methodName);
    IWbemClassObject* signature = nullptr;
    const HRESULT result = classObject->GetMethod(method.get(), 0, &signature, nullptr);
    if (result != S_OK) {
        if (signature != nullptr) signature->Release();
        throw WMIException(__FILE__, __LINE__, result);
    }
    return signature == nullptr ? nullptr : adopt<WMIParameter>(signature);
}

WMIParameter* WMIObject::createInstance() {
    // A failed spawn leaves a null object, which the parameter's constructor refuses.
    IWbemClassObject* spawned = nullptr;
    classObject->SpawnInstance(0, &spawned);
    return adopt<WMIParameter>(spawned);
}
