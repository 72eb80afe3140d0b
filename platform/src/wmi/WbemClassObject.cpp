#include "WbemClassObject.h"

#include <cwchar>
#include <new>

#include "Guard.h"
#include "SystemProperties.h"
#include "VariantValues.h"
#include "nvx4/platform/FaultInjection.h"
#include "nvx4/repository/Names.h"
#include "nvx4/repository/TypeCheck.h"

namespace nvx4::platform {

using repository::ClassDef;
using repository::Names;
using repository::PropertyDef;
using repository::Value;
using repository::ValueType;

namespace {

constexpr LONG kKnownNameFlags = WBEM_MASK_PRIMARY_CONDITION | WBEM_FLAG_KEYS_ONLY |
                                 WBEM_FLAG_REFS_ONLY | WBEM_MASK_CONDITION_ORIGIN |
                                 WBEM_MASK_CLASS_CONDITION;

// A qualifier value equals a VARIANT when the VARIANT converts to it.
bool sameQualifier(const Value& qualifier, const VARIANT& expected) {
    ValueType type{repository::CimType::String, false};
    switch (qualifier.kind()) {
        case Value::Kind::Signed:
        case Value::Kind::Unsigned:
            type.base = repository::CimType::Sint64;
            break;
        case Value::Kind::Real:
            type.base = repository::CimType::Real64;
            break;
        case Value::Kind::Boolean:
            type.base = repository::CimType::Boolean;
            break;
        case Value::Kind::Text:
            break;
        default:
            return false;
    }
    Value converted;
    if (FAILED(VariantValues::fromVariant(expected, type, converted))) return false;
    if (qualifier.kind() == Value::Kind::Unsigned && converted.kind() == Value::Kind::Signed)
        return converted.asSigned() >= 0 &&
               static_cast<std::uint64_t>(converted.asSigned()) == qualifier.asUnsigned();
    return converted == qualifier;
}

bool qualifierMatches(const PropertyDef& property, LONG primary, LPCWSTR qualifier,
                      const VARIANT* qualifierValue) {
    if (primary == WBEM_FLAG_ALWAYS) return true;
    const Value* value = property.qualifiers.find(qualifier);
    if (primary == WBEM_FLAG_ONLY_IF_TRUE) return value != nullptr;
    if (primary == WBEM_FLAG_ONLY_IF_FALSE) return value == nullptr;
    return value != nullptr && sameQualifier(*value, *qualifierValue);
}

HRESULT nameArray(const std::vector<std::wstring>& names, SAFEARRAY** out) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names.size()));
    if (array == nullptr) return WBEM_E_OUT_OF_MEMORY;
    auto* slots = static_cast<BSTR*>(array->pvData);
    for (std::size_t i = 0; i < names.size(); ++i) {
        slots[i] = SysAllocStringLen(names[i].data(), static_cast<UINT>(names[i].size()));
        if (slots[i] == nullptr) {
            SafeArrayDestroy(array);
            return WBEM_E_OUT_OF_MEMORY;
        }
    }
    *out = array;
    return S_OK;
}

HRESULT copyText(const std::wstring& text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out == nullptr ? static_cast<HRESULT>(WBEM_E_OUT_OF_MEMORY) : S_OK;
}

}  // namespace

WbemClassObject::WbemClassObject(ClassPtr cls, OriginPtr origin, WBEM_GENUS_TYPE genus)
    : ComObject(IID_IWbemClassObject),
      cls_(std::move(cls)),
      origin_(std::move(origin)),
      genus_(genus) {}

WbemClassObject* WbemClassObject::instance(std::shared_ptr<const repository::Instance> instance,
                                           OriginPtr origin, unsigned position) {
    auto* object =
        new (std::nothrow) WbemClassObject(instance->cls, std::move(origin), WBEM_GENUS_INSTANCE);
    if (object == nullptr) return nullptr;
    object->shared_ = std::move(instance);
    object->position_ = position;
    return object;
}

WbemClassObject* WbemClassObject::classObject(ClassPtr cls, OriginPtr origin) {
    auto* object =
        new (std::nothrow) WbemClassObject(std::move(cls), std::move(origin), WBEM_GENUS_CLASS);
    if (object == nullptr) return nullptr;
    try {
        for (const PropertyDef& property : object->cls_->properties)
            object->own_.push_back(property.defaultValue);
    } catch (...) {
        object->Release();
        throw;
    }
    return object;
}

WbemClassObject* WbemClassObject::newInstance(ClassPtr cls, OriginPtr origin) {
    WbemClassObject* object = classObject(std::move(cls), std::move(origin));
    if (object != nullptr) object->genus_ = WBEM_GENUS_INSTANCE;
    return object;
}

bool WbemClassObject::assign(std::wstring_view name, const Value& value) {
    const int index = cls_->propertyIndex(name);
    if (index < 0) return false;
    std::string problem;
    std::optional<Value> conformed =
        repository::TypeCheck::conform(value, cls_->properties[index].type, problem);
    if (!conformed) return false;
    ownValues()[index] = std::move(*conformed);
    return true;
}

std::vector<Value>& WbemClassObject::ownValues() {
    if (shared_) {
        own_ = shared_->values;
        shared_.reset();
    }
    return own_;
}

int WbemClassObject::findProperty(LPCWSTR name) const {
    const std::vector<PropertyDef>& properties = cls_->properties;
    const unsigned expected = expectedProperty_.load(std::memory_order_relaxed);
    // One pass over the name: measuring it first would read it twice.
    if (expected < properties.size() && std::wcscmp(properties[expected].name.c_str(), name) == 0) {
        expectedProperty_.store(expected + 1, std::memory_order_relaxed);
        return static_cast<int>(expected);
    }
    const int index = cls_->propertyIndex(name);
    if (index >= 0) expectedProperty_.store(index + 1, std::memory_order_relaxed);
    return index;
}

HRESULT WbemClassObject::deliver(const Value& value, ValueType type, LONG flavor, VARIANT* pVal,
                                 CIMTYPE* pType, LONG* plFlavor) const {
    if (pVal != nullptr) {
        const HRESULT result = VariantValues::toVariant(value, type, pVal);
        if (FAILED(result)) return result;
    }
    if (pType != nullptr) *pType = type.cimtype();
    if (plFlavor != nullptr) *plFlavor = flavor;
    return WBEM_S_NO_ERROR;
}

HRESULT WbemClassObject::getSystemProperty(LPCWSTR name, VARIANT* pVal, CIMTYPE* pType,
                                           LONG* plFlavor) const {
    Value value;
    ValueType type;
    if (!SystemProperties::value(name, *this, value, type)) return WBEM_E_NOT_FOUND;
    return deliver(value, type, WBEM_FLAVOR_ORIGIN_SYSTEM, pVal, pType, plFlavor);
}

HRESULT WbemClassObject::Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE* pType,
                             LONG* plFlavor) {
    if (wszName == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    if (FaultInjection::armed()) {
        if (std::optional<std::int32_t> fault =
                FaultInjection::fire(FaultPoint::Get, wszName, position_))
            return *fault;
    }
    return guarded([&] {
        if (SystemProperties::isSystem(wszName))
            return getSystemProperty(wszName, pVal, pType, plFlavor);
        const int index = findProperty(wszName);
        if (index < 0) return static_cast<HRESULT>(WBEM_E_NOT_FOUND);
        const PropertyDef& property = cls_->properties[index];
        // Callers rarely ask for the flavor; it costs a name comparison.
        LONG flavor = 0;
        if (plFlavor != nullptr)
            flavor = Names::same(property.origin, cls_->name) ? WBEM_FLAVOR_ORIGIN_LOCAL
                                                              : WBEM_FLAVOR_ORIGIN_PROPAGATED;
        return deliver(values()[index], property.type, flavor, pVal, pType, plFlavor);
    });
}

HRESULT WbemClassObject::Put(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE Type) {
    if (wszName == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    if (SystemProperties::isSystem(wszName)) return WBEM_E_READ_ONLY;
    if (std::optional<std::int32_t> fault =
            FaultInjection::fire(FaultPoint::Put, wszName, position_))
        return *fault;
    const int index = cls_->propertyIndex(wszName);
    if (index < 0) return WBEM_E_NOT_FOUND;
    const PropertyDef& property = cls_->properties[index];
    if (Type != 0 && Type != property.type.cimtype()) return WBEM_E_TYPE_MISMATCH;
    return guarded([&] {
        Value value;
        if (pVal != nullptr) {
            const HRESULT result = VariantValues::fromVariant(*pVal, property.type, value);
            if (FAILED(result)) return result;
        }
        ownValues()[index] = std::move(value);
        return static_cast<HRESULT>(WBEM_S_NO_ERROR);
    });
}

HRESULT WbemClassObject::Delete(LPCWSTR wszName) {
    if (wszName == nullptr) return WBEM_E_INVALID_PARAMETER;
    if (SystemProperties::isSystem(wszName)) return WBEM_E_SYSTEM_PROPERTY;
    const int index = cls_->propertyIndex(wszName);
    if (index < 0) return WBEM_E_NOT_FOUND;
    // Removing a property from a class would change the class, which objects here cannot.
    if (isClass()) return WBEM_E_NOT_SUPPORTED;
    return guarded([&] {
        ownValues()[index] = cls_->properties[index].defaultValue;
        return static_cast<HRESULT>(WBEM_S_RESET_TO_DEFAULT);
    });
}

std::optional<std::vector<std::wstring>> WbemClassObject::selectNames(
    LPCWSTR qualifier, LONG flags, const VARIANT* qualifierValue) const {
    const LONG primary = flags & WBEM_MASK_PRIMARY_CONDITION;
    const LONG origin = flags & WBEM_MASK_CONDITION_ORIGIN;
    if ((flags & ~kKnownNameFlags) || origin > WBEM_FLAG_NONSYSTEM_ONLY) return std::nullopt;
    if (primary != WBEM_FLAG_ALWAYS && qualifier == nullptr) return std::nullopt;
    if (primary == WBEM_FLAG_ONLY_IF_IDENTICAL && qualifierValue == nullptr) return std::nullopt;
    const bool keysOnly = flags & WBEM_FLAG_KEYS_ONLY;
    // No property of this repository is a reference.
    if (flags & WBEM_FLAG_REFS_ONLY) return std::vector<std::wstring>();

    std::vector<std::wstring> names;
    const bool system = origin == 0 || origin == WBEM_FLAG_SYSTEM_ONLY;
    if (system && primary == WBEM_FLAG_ALWAYS && !keysOnly) names = SystemProperties::names();
    if (origin == WBEM_FLAG_SYSTEM_ONLY) return names;
    for (const PropertyDef& property : cls_->properties) {
        const bool local = Names::same(property.origin, cls_->name);
        if ((origin == WBEM_FLAG_LOCAL_ONLY && !local) ||
            (origin == WBEM_FLAG_PROPAGATED_ONLY && local) || (keysOnly && !property.key) ||
            !qualifierMatches(property, primary, qualifier, qualifierValue))
            continue;
        names.push_back(property.name);
    }
    return names;
}

HRESULT WbemClassObject::GetNames(LPCWSTR wszQualifierName, LONG lFlags, VARIANT* pQualifierVal,
                                  SAFEARRAY** pNames) {
    if (pNames == nullptr) return WBEM_E_INVALID_PARAMETER;
    *pNames = nullptr;
    return guarded([&] {
        std::optional<std::vector<std::wstring>> names =
            selectNames(wszQualifierName, lFlags, pQualifierVal);
        if (!names) return static_cast<HRESULT>(WBEM_E_INVALID_PARAMETER);
        if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::GetNames))
            return static_cast<HRESULT>(*fault);
        return nameArray(*names, pNames);
    });
}

HRESULT WbemClassObject::BeginEnumeration(LONG lEnumFlags) {
    // Only the origin and key conditions apply to an enumeration.
    if (lEnumFlags & ~(WBEM_FLAG_KEYS_ONLY | WBEM_FLAG_REFS_ONLY | WBEM_MASK_CONDITION_ORIGIN))
        return WBEM_E_INVALID_PARAMETER;
    return guarded([&] {
        std::optional<std::vector<std::wstring>> names = selectNames(nullptr, lEnumFlags, nullptr);
        if (!names) return static_cast<HRESULT>(WBEM_E_INVALID_PARAMETER);
        enumeration_ = std::move(*names);
        enumerated_ = 0;
        enumerating_ = true;
        return static_cast<HRESULT>(WBEM_S_NO_ERROR);
    });
}

HRESULT WbemClassObject::Next(LONG lFlags, BSTR* strName, VARIANT* pVal, CIMTYPE* pType,
                              LONG* plFlavor) {
    if (lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    if (!enumerating_) return WBEM_E_UNEXPECTED;
    if (enumerated_ == enumeration_.size()) return WBEM_S_NO_MORE_DATA;
    const std::wstring& name = enumeration_[enumerated_];
    BSTR copy = nullptr;
    if (strName != nullptr && FAILED(copyText(name, &copy))) return WBEM_E_OUT_OF_MEMORY;
    const HRESULT result = Get(name.c_str(), 0, pVal, pType, plFlavor);
    if (FAILED(result)) {
        SysFreeString(copy);
        return result;
    }
    if (strName != nullptr) *strName = copy;
    ++enumerated_;
    return WBEM_S_NO_ERROR;
}

HRESULT WbemClassObject::EndEnumeration() {
    enumerating_ = false;
    enumeration_.clear();
    return WBEM_S_NO_ERROR;
}

HRESULT WbemClassObject::Clone(IWbemClassObject** ppCopy) {
    if (ppCopy == nullptr) return WBEM_E_INVALID_PARAMETER;
    *ppCopy = nullptr;
    return guarded([&] {
        auto* copy = new WbemClassObject(cls_, origin_, genus_);
        copy->shared_ = shared_;
        copy->own_ = own_;
        copy->position_ = position_;
        *ppCopy = copy;
        return static_cast<HRESULT>(WBEM_S_NO_ERROR);
    });
}

HRESULT WbemClassObject::SpawnInstance(LONG lFlags, IWbemClassObject** ppNewInstance) {
    if (ppNewInstance == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    // An instance spawns a fresh instance of its class, as its class would.
    WbemClassObject* spawned = newInstance(cls_, origin_);
    *ppNewInstance = spawned;
    return spawned == nullptr ? WBEM_E_OUT_OF_MEMORY : WBEM_S_NO_ERROR;
}

HRESULT WbemClassObject::CompareTo(LONG lFlags, IWbemClassObject* pCompareTo) {
    (void)lFlags;
    if (pCompareTo == nullptr) return WBEM_E_INVALID_PARAMETER;
    auto* other = dynamic_cast<WbemClassObject*>(pCompareTo);
    if (other == nullptr) return WBEM_S_DIFFERENT;
    const bool same = genus_ == other->genus_ && Names::same(cls_->name, other->cls_->name) &&
                      values() == other->values();
    return same ? WBEM_S_SAME : WBEM_S_DIFFERENT;
}

HRESULT WbemClassObject::GetPropertyOrigin(LPCWSTR wszName, BSTR* pstrClassName) {
    if (wszName == nullptr || pstrClassName == nullptr) return WBEM_E_INVALID_PARAMETER;
    *pstrClassName = nullptr;
    const int index = cls_->propertyIndex(wszName);
    if (index < 0) return WBEM_E_NOT_FOUND;
    return guarded([&] { return copyText(cls_->properties[index].origin, pstrClassName); });
}

HRESULT WbemClassObject::InheritsFrom(LPCWSTR strAncestor) {
    if (strAncestor == nullptr) return WBEM_E_INVALID_PARAMETER;
    for (const std::wstring& ancestor : cls_->derivation)
        if (Names::same(ancestor, strAncestor)) return WBEM_S_NO_ERROR;
    return WBEM_S_FALSE;
}

HRESULT WbemClassObject::GetMethod(LPCWSTR wszName, LONG lFlags, IWbemClassObject** ppInSignature,
                                   IWbemClassObject** ppOutSignature) {
    if (ppInSignature != nullptr) *ppInSignature = nullptr;
    if (ppOutSignature != nullptr) *ppOutSignature = nullptr;
    if (wszName == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    const repository::MethodDef* method = cls_->findMethod(wszName);
    if (method == nullptr) return WBEM_E_NOT_FOUND;
    // Parameter objects belong to no namespace.
    auto unstored = std::make_shared<const ObjectOrigin>();
    auto signature = [&](const ClassPtr& cls, IWbemClassObject** out) -> bool {
        if (out == nullptr || !cls) return true;
        *out = classObject(cls, unstored);
        return *out != nullptr;
    };
    if (!signature(method->inSignature, ppInSignature) ||
        !signature(method->outSignature, ppOutSignature)) {
        if (ppInSignature != nullptr && *ppInSignature != nullptr) (*ppInSignature)->Release();
        return WBEM_E_OUT_OF_MEMORY;
    }
    return WBEM_S_NO_ERROR;
}

HRESULT WbemClassObject::GetMethodOrigin(LPCWSTR wszMethodName, BSTR* pstrClassName) {
    if (wszMethodName == nullptr || pstrClassName == nullptr) return WBEM_E_INVALID_PARAMETER;
    *pstrClassName = nullptr;
    const repository::MethodDef* method = cls_->findMethod(wszMethodName);
    if (method == nullptr) return WBEM_E_NOT_FOUND;
    return guarded([&] { return copyText(method->origin, pstrClassName); });
}

// Qualifier sets, object text, and changes to class definitions are not part of this stand-in.

HRESULT WbemClassObject::GetQualifierSet(IWbemQualifierSet** ppQualSet) {
    if (ppQualSet != nullptr) *ppQualSet = nullptr;
    return WBEM_E_NOT_SUPPORTED;
}

HRESULT WbemClassObject::GetPropertyQualifierSet(LPCWSTR, IWbemQualifierSet** ppQualSet) {
    if (ppQualSet != nullptr) *ppQualSet = nullptr;
    return WBEM_E_NOT_SUPPORTED;
}

HRESULT WbemClassObject::GetObjectText(LONG, BSTR* pstrObjectText) {
    if (pstrObjectText != nullptr) *pstrObjectText = nullptr;
    return WBEM_E_NOT_SUPPORTED;
}

HRESULT WbemClassObject::SpawnDerivedClass(LONG, IWbemClassObject** ppNewClass) {
    if (ppNewClass != nullptr) *ppNewClass = nullptr;
    return WBEM_E_NOT_SUPPORTED;
}

HRESULT WbemClassObject::PutMethod(LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*) {
    return WBEM_E_NOT_SUPPORTED;
}

HRESULT WbemClassObject::DeleteMethod(LPCWSTR) { return WBEM_E_NOT_SUPPORTED; }

HRESULT WbemClassObject::BeginMethodEnumeration(LONG) { return WBEM_E_NOT_SUPPORTED; }

HRESULT WbemClassObject::NextMethod(LONG, BSTR* pstrName, IWbemClassObject** ppInSignature,
                                    IWbemClassObject** ppOutSignature) {
    if (pstrName != nullptr) *pstrName = nullptr;
    if (ppInSignature != nullptr) *ppInSignature = nullptr;
    if (ppOutSignature != nullptr) *ppOutSignature = nullptr;
    return WBEM_E_NOT_SUPPORTED;
}

HRESULT WbemClassObject::EndMethodEnumeration() { return WBEM_E_NOT_SUPPORTED; }

HRESULT WbemClassObject::GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet** ppQualSet) {
    if (ppQualSet != nullptr) *ppQualSet = nullptr;
    return WBEM_E_NOT_SUPPORTED;
}

}  // namespace nvx4::platform
