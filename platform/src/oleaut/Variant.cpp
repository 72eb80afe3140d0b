// VARIANTs: initialisation, release of what they own, and deep copies.
#include <oleauto.h>

#include <cstring>

namespace {

bool isScalarType(VARTYPE base) {
    return (base <= VT_DECIMAL && base != VT_VARIANT) || (base >= VT_I1 && base <= VT_UINT) ||
           base == VT_RECORD;
}

// The types a VARIANT may carry: scalars, arrays of element types and references to either.
bool isValidType(VARTYPE vt) {
    if (vt & (VT_VECTOR | VT_RESERVED)) return false;
    const VARTYPE base = vt & VT_TYPEMASK;
    if (vt & (VT_ARRAY | VT_BYREF)) {
        if (base == VT_EMPTY || base == VT_NULL) return false;
        return isScalarType(base) || base == VT_VARIANT;
    }
    return isScalarType(base);
}

IUnknown* unknownOf(const VARIANT& v) {
    // IDispatch derives from IUnknown alone, so its pointer is an IUnknown pointer.
    return (v.vt == VT_DISPATCH) ? reinterpret_cast<IUnknown*>(v.pdispVal) : v.punkVal;
}

}  // namespace

void VariantInit(VARIANTARG* pvarg) {
    if (pvarg == nullptr) return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

HRESULT VariantClear(VARIANTARG* pvarg) {
    if (pvarg == nullptr) return E_INVALIDARG;
    if (!isValidType(pvarg->vt)) return DISP_E_BADVARTYPE;
    if (pvarg->vt & VT_ARRAY && !(pvarg->vt & VT_BYREF)) {
        const HRESULT result = SafeArrayDestroy(pvarg->parray);
        if (FAILED(result)) return result;
    } else if (pvarg->vt == VT_BSTR) {
        SysFreeString(pvarg->bstrVal);
    } else if (pvarg->vt == VT_UNKNOWN || pvarg->vt == VT_DISPATCH) {
        if (IUnknown* object = unknownOf(*pvarg)) object->Release();
    } else if (pvarg->vt == VT_RECORD) {
        return E_NOTIMPL;
    }
    pvarg->vt = VT_EMPTY;
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
    if (pvargDest == nullptr || pvargSrc == nullptr) return E_INVALIDARG;
    if (!isValidType(pvargSrc->vt) || pvargSrc->vt == VT_RECORD) return DISP_E_BADVARTYPE;
    if (pvargDest == pvargSrc) return S_OK;
    const HRESULT cleared = VariantClear(pvargDest);
    if (FAILED(cleared)) return cleared;

    VARIANT copy;
    std::memcpy(&copy, pvargSrc, sizeof copy);
    if (copy.vt & VT_ARRAY && !(copy.vt & VT_BYREF)) {
        const HRESULT result = SafeArrayCopy(pvargSrc->parray, &copy.parray);
        if (FAILED(result)) return result;
    } else if (copy.vt == VT_BSTR && pvargSrc->bstrVal != nullptr) {
        copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(pvargSrc->bstrVal),
                                             SysStringByteLen(pvargSrc->bstrVal));
        if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
    } else if (copy.vt == VT_UNKNOWN || copy.vt == VT_DISPATCH) {
        if (IUnknown* object = unknownOf(copy)) object->AddRef();
    }
    std::memcpy(pvargDest, &copy, sizeof copy);
    return S_OK;
}
