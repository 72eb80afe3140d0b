#include "WbemServices.h"

#include <new>

#include "Guard.h"
#include "WbemEnumerator.h"
#include "nvx4/platform/FaultInjection.h"
#include "nvx4/repository/ObjectPath.h"
#include "nvx4/repository/Repository.h"

namespace nvx4::platform {

using repository::ChangeStatus;
using repository::ClassDef;
using repository::MethodCall;
using repository::MethodDef;
using repository::ObjectPath;
using repository::PropertyValues;
using repository::PutMode;
using repository::Repository;

namespace {

constexpr LONG kEnumFlags = WBEM_FLAG_SHALLOW | WBEM_FLAG_RETURN_IMMEDIATELY |
                            WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_DIRECT_READ |
                            WBEM_FLAG_USE_AMENDED_QUALIFIERS;
constexpr LONG kGetFlags = WBEM_FLAG_DIRECT_READ | WBEM_FLAG_USE_AMENDED_QUALIFIERS;
constexpr LONG kPutModeMask = WBEM_FLAG_UPDATE_ONLY | WBEM_FLAG_CREATE_ONLY;

HRESULT resultOf(ChangeStatus status) {
    switch (status) {
        case ChangeStatus::Done:
            return WBEM_S_NO_ERROR;
        case ChangeStatus::LoadFailed:
            return WBEM_E_INVALID_SYNTAX;
        case ChangeStatus::InvalidClass:
            return WBEM_E_INVALID_CLASS;
        case ChangeStatus::InvalidValue:
            return WBEM_E_TYPE_MISMATCH;
        case ChangeStatus::MissingKey:
            return WBEM_E_ILLEGAL_NULL;
        case ChangeStatus::NotFound:
            return WBEM_E_NOT_FOUND;
        case ChangeStatus::AlreadyExists:
            return WBEM_E_ALREADY_EXISTS;
    }
    return WBEM_E_FAILED;
}

// Semi-synchronous calls (with a call result object) are not offered.
bool refuseCallResult(IWbemCallResult** ppCallResult) {
    if (ppCallResult == nullptr) return false;
    *ppCallResult = nullptr;
    return true;
}

PropertyValues valuesOf(const WbemClassObject& object) {
    PropertyValues values;
    const ClassDef& cls = object.classDef();
    for (std::size_t i = 0; i < cls.properties.size(); ++i)
        values.emplace_back(cls.properties[i].name, object.values()[i]);
    return values;
}

// The in-parameters as the method declares them, with the values the caller's object has.
PropertyValues inputsOf(const MethodDef& method, const WbemClassObject* in) {
    PropertyValues inputs;
    for (const repository::ParameterDef& parameter : method.parameters) {
        if (!parameter.in) continue;
        const int index = in ? in->classDef().propertyIndex(parameter.name) : -1;
        inputs.emplace_back(parameter.name, index < 0 ? repository::Value() : in->values()[index]);
    }
    return inputs;
}

}  // namespace

WbemServices::WbemServices(std::wstring ns, std::wstring server)
    : ComObject(IID_IWbemServices),
      origin_(
          std::make_shared<const ObjectOrigin>(ObjectOrigin{std::move(server), std::move(ns)})) {}

HRESULT WbemServices::current(std::shared_ptr<const repository::Snapshot>& snapshot,
                              const repository::Namespace*& ns) const {
    snapshot = Repository::current();
    if (!snapshot) return WBEM_E_INVALID_SYNTAX;
    ns = snapshot->findNamespace(origin_->ns);
    return ns == nullptr ? WBEM_E_INVALID_NAMESPACE : WBEM_S_NO_ERROR;
}

HRESULT WbemServices::locate(const BSTR objectPath, Located& found) const {
    if (HRESULT result = current(found.snapshot, found.ns); FAILED(result)) return result;
    found.path = ObjectPath::parse(objectPath);
    return found.path ? WBEM_S_NO_ERROR : WBEM_E_INVALID_OBJECT_PATH;
}

HRESULT WbemServices::CreateInstanceEnum(const BSTR strFilter, LONG lFlags, IWbemContext* pCtx,
                                         IEnumWbemClassObject** ppEnum) {
    (void)pCtx;
    if (ppEnum == nullptr) return WBEM_E_INVALID_PARAMETER;
    *ppEnum = nullptr;
    if (strFilter == nullptr || (lFlags & ~kEnumFlags)) return WBEM_E_INVALID_PARAMETER;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::CreateEnumerator))
        return *fault;
    return guarded([&] {
        std::shared_ptr<const repository::Snapshot> snapshot;
        const repository::Namespace* ns = nullptr;
        if (HRESULT result = current(snapshot, ns); FAILED(result)) return result;
        std::shared_ptr<const ClassDef> cls = ns->findClass(strFilter);
        if (!cls) return static_cast<HRESULT>(WBEM_E_INVALID_CLASS);
        Repository::Enumeration found =
            Repository::enumerate(snapshot, *ns, *cls, !(lFlags & WBEM_FLAG_SHALLOW));
        if (found.status != 0) return static_cast<HRESULT>(found.status);
        *ppEnum = new WbemEnumerator(std::move(found.instances), origin_,
                                     (lFlags & WBEM_FLAG_FORWARD_ONLY) != 0);
        return static_cast<HRESULT>(WBEM_S_NO_ERROR);
    });
}

HRESULT WbemServices::GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                IWbemClassObject** ppObject, IWbemCallResult** ppCallResult) {
    (void)pCtx;
    if (ppObject != nullptr) *ppObject = nullptr;
    if (refuseCallResult(ppCallResult)) return WBEM_E_NOT_SUPPORTED;
    if (ppObject == nullptr || strObjectPath == nullptr || (lFlags & ~kGetFlags))
        return WBEM_E_INVALID_PARAMETER;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::GetObject))
        return *fault;
    return guarded([&] {
        Located found;
        if (HRESULT result = locate(strObjectPath, found); FAILED(result)) return result;
        const repository::Namespace* ns = found.ns;
        const std::optional<ObjectPath>& path = found.path;
        WbemClassObject::OriginPtr origin = origin_;
        if (!path->ns.empty()) {
            ns = found.snapshot->findNamespace(path->ns);
            if (ns == nullptr) return static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE);
            origin =
                std::make_shared<const ObjectOrigin>(ObjectOrigin{origin_->server, ns->name()});
        }
        std::shared_ptr<const ClassDef> cls = ns->findClass(path->className);
        if (!cls) return static_cast<HRESULT>(WBEM_E_NOT_FOUND);
        if (path->isClass()) {
            *ppObject = WbemClassObject::classObject(cls, origin);
        } else {
            std::shared_ptr<const repository::Instance> instance = ns->findInstance(*path);
            if (!instance) return static_cast<HRESULT>(WBEM_E_NOT_FOUND);
            *ppObject = WbemClassObject::instance(instance, origin, 0);
        }
        return *ppObject == nullptr ? static_cast<HRESULT>(WBEM_E_OUT_OF_MEMORY)
                                    : static_cast<HRESULT>(WBEM_S_NO_ERROR);
    });
}

HRESULT WbemServices::PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext* pCtx,
                                  IWbemCallResult** ppCallResult) {
    (void)pCtx;
    if (refuseCallResult(ppCallResult)) return WBEM_E_NOT_SUPPORTED;
    const LONG mode = lFlags & kPutModeMask;
    auto* object = dynamic_cast<WbemClassObject*>(pInst);
    if (object == nullptr || object->isClass() || mode == kPutModeMask ||
        (lFlags & ~(kPutModeMask | WBEM_FLAG_USE_AMENDED_QUALIFIERS)))
        return WBEM_E_INVALID_PARAMETER;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::PutInstance))
        return *fault;
    return guarded([&] {
        const PutMode putMode = mode == WBEM_FLAG_UPDATE_ONLY   ? PutMode::UpdateOnly
                                : mode == WBEM_FLAG_CREATE_ONLY ? PutMode::CreateOnly
                                                                : PutMode::CreateOrUpdate;
        return resultOf(Repository::putInstance(origin_->ns, object->classDef().name,
                                                valuesOf(*object), putMode));
    });
}

HRESULT WbemServices::DeleteInstance(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                     IWbemCallResult** ppCallResult) {
    (void)pCtx;
    if (refuseCallResult(ppCallResult)) return WBEM_E_NOT_SUPPORTED;
    if (strObjectPath == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::DeleteInstance))
        return *fault;
    return guarded([&] {
        std::optional<ObjectPath> path = ObjectPath::parse(strObjectPath);
        if (!path || path->isClass()) return static_cast<HRESULT>(WBEM_E_INVALID_OBJECT_PATH);
        const std::wstring& ns = path->ns.empty() ? origin_->ns : path->ns;
        return resultOf(Repository::deleteInstance(ns, *path));
    });
}

HRESULT WbemServices::ExecMethod(const BSTR strObjectPath, const BSTR strMethodName, LONG lFlags,
                                 IWbemContext* pCtx, IWbemClassObject* pInParams,
                                 IWbemClassObject** ppOutParams, IWbemCallResult** ppCallResult) {
    (void)pCtx;
    if (ppOutParams != nullptr) *ppOutParams = nullptr;
    if (refuseCallResult(ppCallResult)) return WBEM_E_NOT_SUPPORTED;
    if (strObjectPath == nullptr || strMethodName == nullptr || lFlags != 0)
        return WBEM_E_INVALID_PARAMETER;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::ExecMethod))
        return *fault;
    return guarded([&] {
        Located found;
        if (HRESULT result = locate(strObjectPath, found); FAILED(result)) return result;
        std::shared_ptr<const ClassDef> cls = found.ns->findClass(found.path->className);
        if (!cls) return static_cast<HRESULT>(WBEM_E_INVALID_CLASS);
        if (!found.path->isClass() && !found.ns->findInstance(*found.path))
            return static_cast<HRESULT>(WBEM_E_NOT_FOUND);
        const MethodDef* method = cls->findMethod(strMethodName);
        if (method == nullptr) return static_cast<HRESULT>(WBEM_E_INVALID_METHOD);
        return runMethod(*cls, *method, strObjectPath, pInParams, ppOutParams);
    });
}

HRESULT WbemServices::runMethod(const ClassDef& cls, const MethodDef& method,
                                const std::wstring& path, IWbemClassObject* in,
                                IWbemClassObject** out) const {
    const auto* inputs = dynamic_cast<const WbemClassObject*>(in);
    if (in != nullptr && inputs == nullptr) return WBEM_E_INVALID_PARAMETER;
    repository::MethodHandler handler = Repository::methodHandler(origin_->ns, cls, method.name);
    if (!handler) return WBEM_E_METHOD_NOT_IMPLEMENTED;
    MethodCall call{origin_->ns, cls.name, path, method.name, inputsOf(method, inputs), {}};
    std::int32_t result;
    try {
        result = handler(call);
    } catch (...) {
        return WBEM_E_PROVIDER_FAILURE;
    }
    if (result != 0) return result;
    if (!method.outSignature) return WBEM_S_NO_ERROR;
    WbemClassObject* outputs =
        WbemClassObject::newInstance(method.outSignature, std::make_shared<const ObjectOrigin>());
    if (outputs == nullptr) return WBEM_E_OUT_OF_MEMORY;
    for (const auto& [name, value] : call.out) {
        if (!outputs->assign(name, value)) {
            // The handler set what the method does not declare, or a value of another type.
            outputs->Release();
            return WBEM_E_PROVIDER_FAILURE;
        }
    }
    if (out != nullptr)
        *out = outputs;
    else
        outputs->Release();
    return WBEM_S_NO_ERROR;
}

}  // namespace nvx4::platform
