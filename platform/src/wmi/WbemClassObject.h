// A class or instance object of the management interfaces. An instance delivered from the
// repository shares the repository's values until it is changed with Put; other objects hold
// their own values.
#ifndef NVX4_PLATFORM_WBEMCLASSOBJECT_H
#define NVX4_PLATFORM_WBEMCLASSOBJECT_H

#include <wbemcli.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "../com/ComObject.h"
#include "nvx4/repository/ClassDef.h"
#include "nvx4/repository/Instance.h"

namespace nvx4::platform {

// Where an object lives, for __SERVER, __NAMESPACE and __PATH; both empty for objects that are
// not stored (method parameters).
struct ObjectOrigin {
    std::wstring server;
    std::wstring ns;
};

class WbemClassObject : public ComObject<IWbemClassObject> {
  public:
    using ClassPtr = std::shared_ptr<const repository::ClassDef>;
    using OriginPtr = std::shared_ptr<const ObjectOrigin>;

    // Each returns a new object with one reference, or null when memory runs out.
    static WbemClassObject* instance(std::shared_ptr<const repository::Instance> instance,
                                     OriginPtr origin, unsigned position);
    static WbemClassObject* classObject(ClassPtr cls, OriginPtr origin);
    static WbemClassObject* newInstance(ClassPtr cls, OriginPtr origin);

    const repository::ClassDef& classDef() const { return *cls_; }
    bool isClass() const { return genus_ == WBEM_GENUS_CLASS; }
    const std::vector<repository::Value>& values() const {
        return shared_ ? shared_->values : own_;
    }
    const ObjectOrigin& origin() const { return *origin_; }
    // Sets a property to a value checked against its type; false for an unknown property or a
    // value of another type.
    bool assign(std::wstring_view name, const repository::Value& value);

    HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet** ppQualSet) override;
    HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE* pType,
                                  LONG* plFlavor) override;
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR wszName, LONG lFlags, VARIANT* pVal,
                                  CIMTYPE Type) override;
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR wszName) override;
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR wszQualifierName, LONG lFlags,
                                       VARIANT* pQualifierVal, SAFEARRAY** pNames) override;
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG lEnumFlags) override;
    HRESULT STDMETHODCALLTYPE Next(LONG lFlags, BSTR* strName, VARIANT* pVal, CIMTYPE* pType,
                                   LONG* plFlavor) override;
    HRESULT STDMETHODCALLTYPE EndEnumeration() override;
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR wszProperty,
                                                      IWbemQualifierSet** ppQualSet) override;
    HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject** ppCopy) override;
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG lFlags, BSTR* pstrObjectText) override;
    HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG lFlags,
                                                IWbemClassObject** ppNewClass) override;
    HRESULT STDMETHODCALLTYPE SpawnInstance(LONG lFlags, IWbemClassObject** ppNewInstance) override;
    HRESULT STDMETHODCALLTYPE CompareTo(LONG lFlags, IWbemClassObject* pCompareTo) override;
    HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR wszName, BSTR* pstrClassName) override;
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR strAncestor) override;
    HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR wszName, LONG lFlags,
                                        IWbemClassObject** ppInSignature,
                                        IWbemClassObject** ppOutSignature) override;
    HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR wszName, LONG lFlags,
                                        IWbemClassObject* pInSignature,
                                        IWbemClassObject* pOutSignature) override;
    HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR wszName) override;
    HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG lEnumFlags) override;
    HRESULT STDMETHODCALLTYPE NextMethod(LONG lFlags, BSTR* pstrName,
                                         IWbemClassObject** ppInSignature,
                                         IWbemClassObject** ppOutSignature) override;
    HRESULT STDMETHODCALLTYPE EndMethodEnumeration() override;
    HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR wszMethod,
                                                    IWbemQualifierSet** ppQualSet) override;
    HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR wszMethodName, BSTR* pstrClassName) override;

  private:
    WbemClassObject(ClassPtr cls, OriginPtr origin, WBEM_GENUS_TYPE genus);

    // The names GetNames and BeginEnumeration select; nullopt for flags they do not accept.
    std::optional<std::vector<std::wstring>> selectNames(LPCWSTR qualifier, LONG flags,
                                                         const VARIANT* qualifierValue) const;
    // Writes what Get returns for a property or system property.
    HRESULT deliver(const repository::Value& value, repository::ValueType type, LONG flavor,
                    VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor) const;
    HRESULT getSystemProperty(LPCWSTR name, VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor) const;
    std::vector<repository::Value>& ownValues();
    // The position of a property, or -1. Callers mostly read properties in the class's order,
    // so the one after the last found is tried first, by an exact comparison that needs no hash.
    int findProperty(LPCWSTR name) const;

    ClassPtr cls_;
    OriginPtr origin_;
    WBEM_GENUS_TYPE genus_;
    std::shared_ptr<const repository::Instance> shared_;  // unchanged repository instance
    std::vector<repository::Value> own_;
    unsigned position_ = 0;  // in the enumeration that delivered it; 0 for none
    mutable std::atomic<unsigned> expectedProperty_{0};
    bool enumerating_ = false;
    std::vector<std::wstring> enumeration_;
    std::size_t enumerated_ = 0;
};

}  // namespace nvx4::platform

#endif
