// VARIANTs built with the OLE Automation calls, owned by the test that builds them.
#ifndef NVX4_VARIANT_BUILDERS_H
#define NVX4_VARIANT_BUILDERS_H

#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <initializer_list>
#include <vector>

namespace nvx4::test {

// Owns one VARIANT and clears it on destruction.
class Variant {
  public:
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT value;
};

inline void setI2(Variant& v, SHORT x) {
    v.value.vt = VT_I2;
    v.value.iVal = x;
}
inline void setI4(Variant& v, LONG x) {
    v.value.vt = VT_I4;
    v.value.lVal = x;
}
inline void setUi1(Variant& v, BYTE x) {
    v.value.vt = VT_UI1;
    v.value.bVal = x;
}
inline void setR4(Variant& v, float x) {
    v.value.vt = VT_R4;
    v.value.fltVal = x;
}
inline void setR8(Variant& v, double x) {
    v.value.vt = VT_R8;
    v.value.dblVal = x;
}
inline void setBool(Variant& v, bool x) {
    v.value.vt = VT_BOOL;
    v.value.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE;
}
// A null text gives a VT_BSTR holding a null BSTR.
inline void setBstr(Variant& v, const wchar_t* text) {
    v.value.vt = VT_BSTR;
    v.value.bstrVal = text == nullptr ? nullptr : SysAllocString(text);
}

// A VT_ARRAY vector of `elementType` holding the given elements, tagged `tag` (the real type by
// default, or another one to present the elements under a false type).
template <typename T>
void setArray(Variant& v, VARTYPE elementType, std::initializer_list<T> items, VARTYPE tag = 0) {
    SAFEARRAY* array = SafeArrayCreateVector(elementType, 0, static_cast<ULONG>(items.size()));
    void* data = nullptr;
    SafeArrayAccessData(array, &data);
    if (items.size() > 0) std::memcpy(data, items.begin(), items.size() * sizeof(T));
    SafeArrayUnaccessData(array);
    v.value.vt = static_cast<VARTYPE>(VT_ARRAY | (tag != 0 ? tag : elementType));
    v.value.parray = array;
}

inline void setBstrArray(Variant& v, std::initializer_list<const wchar_t*> items) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(items.size()));
    BSTR* data = nullptr;
    SafeArrayAccessData(array, reinterpret_cast<void**>(&data));
    size_t i = 0;
    for (const wchar_t* item : items) data[i++] = item == nullptr ? nullptr : SysAllocString(item);
    SafeArrayUnaccessData(array);
    v.value.vt = VT_ARRAY | VT_BSTR;
    v.value.parray = array;
}

}  // namespace nvx4::test

#endif
