#include "WMIObject.h"

#include <utility>

#include "ErrorCodes.h"
#include "WMIException.h"
#include "WMIParameter.h"
#include "WMIResult.h"

namespace {

// Wraps an object reference that a WMI call handed over: the holder takes what it needs of its
// own, and the handed reference goes when this returns or raises.
template <class Holder>
Holder* wrap(ComRef<IWbemClassObject> object) {
    return new Holder(object.get());
}

}  // namespace

WMIObject::WMIObject(const std::string& name, IWbemServices* services, const WMISecurity& security)
    : services(services), security(security) {
    if (services == nullptr)
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "using null init WMIObject");
    className = BstrHolder(name);
    const HRESULT result =
        services->GetObject(className.get(), 0, nullptr, classObject.put(), nullptr);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
}

WMIResult* WMIObject::execMethod(const char* methodName, WMIParameter* in) {
    return execMethod(std::string(methodName == nullptr ? "" : methodName), in);
}

WMIResult* WMIObject::execMethod(const std::string& methodName, WMIParameter* in) {
    security.setProxyBlanket(services);
    const BstrHolder method(methodName);
    ComRef<IWbemClassObject> out;
    const HRESULT result =
        services->ExecMethod(className.get(), method.get(), 0, nullptr,
                             in == nullptr ? nullptr : in->getInstance(), out.put(), nullptr);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    return out ? wrap<WMIResult>(std::move(out)) : nullptr;
}

WMIParameter* WMIObject::getInParameters(const std::string& methodName) {
    const BstrHolder method(methodName);
    ComRef<IWbemClassObject> signature;
    const HRESULT result = classObject->GetMethod(method.get(), 0, signature.put(), nullptr);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    return signature ? wrap<WMIParameter>(std::move(signature)) : nullptr;
}

WMIParameter* WMIObject::createInstance() {
    // A failed spawn leaves a null object, which the parameter's constructor refuses.
    ComRef<IWbemClassObject> spawned;
    classObject->SpawnInstance(0, spawned.put());
    return wrap<WMIParameter>(std::move(spawned));
}
