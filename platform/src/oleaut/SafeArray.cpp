// SAFEARRAYs of any number of dimensions. The descriptor is preceded by its element VARTYPE (in
// the 4 bytes before it, as on Windows); the data is a separate zero-filled block, so null BSTRs,
// null interfaces and VT_EMPTY variants are what a new array holds.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>
#include <limits>

#include "nvx4/platform/FaultInjection.h"

namespace {

constexpr std::size_t kHeader = 16;  // keeps the descriptor 16-byte aligned

ULONG elementSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1:
        case VT_UI1:
            return 1;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL:
            return 2;
        case VT_I4:
        case VT_UI4:
        case VT_R4:
        case VT_ERROR:
        case VT_INT:
        case VT_UINT:
            return 4;
        case VT_I8:
        case VT_UI8:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
            return 8;
        case VT_BSTR:
            return sizeof(BSTR);
        case VT_UNKNOWN:
        case VT_DISPATCH:
            return sizeof(IUnknown*);
        case VT_VARIANT:
            return sizeof(VARIANT);
        case VT_DECIMAL:
            return sizeof(DECIMAL);
        default:
            return 0;
    }
}

USHORT featuresOf(VARTYPE vt) {
    switch (vt) {
        case VT_BSTR:
            return FADF_HAVEVARTYPE | FADF_BSTR;
        case VT_UNKNOWN:
            return FADF_HAVEVARTYPE | FADF_UNKNOWN;
        case VT_DISPATCH:
            return FADF_HAVEVARTYPE | FADF_DISPATCH;
        case VT_VARIANT:
            return FADF_HAVEVARTYPE | FADF_VARIANT;
        default:
            return FADF_HAVEVARTYPE;
    }
}

unsigned char* blockOf(SAFEARRAY* psa) { return reinterpret_cast<unsigned char*>(psa) - kHeader; }

VARTYPE vartypeOf(SAFEARRAY* psa) {
    if (psa->fFeatures & FADF_HAVEVARTYPE) {
        DWORD vt;
        std::memcpy(&vt, blockOf(psa) + kHeader - sizeof vt, sizeof vt);
        return static_cast<VARTYPE>(vt);
    }
    if (psa->fFeatures & FADF_BSTR) return VT_BSTR;
    if (psa->fFeatures & FADF_UNKNOWN) return VT_UNKNOWN;
    if (psa->fFeatures & FADF_DISPATCH) return VT_DISPATCH;
    if (psa->fFeatures & FADF_VARIANT) return VT_VARIANT;
    return VT_EMPTY;
}

std::size_t elementCount(const SAFEARRAY* psa) {
    std::size_t count = 1;
    for (USHORT d = 0; d < psa->cDims; ++d) count *= psa->rgsabound[d].cElements;
    return count;
}

// The byte offset of an element; false when an index is out of its dimension's bounds.
bool offsetOf(const SAFEARRAY* psa, const LONG* indices, std::size_t& offset) {
    std::size_t position = 0;
    std::size_t stride = 1;
    for (USHORT i = 0; i < psa->cDims; ++i) {
        const SAFEARRAYBOUND& bound = psa->rgsabound[psa->cDims - 1 - i];
        const std::int64_t index = static_cast<std::int64_t>(indices[i]) - bound.lLbound;
        if (index < 0 || index >= static_cast<std::int64_t>(bound.cElements)) return false;
        position += static_cast<std::size_t>(index) * stride;
        stride *= bound.cElements;
    }
    offset = position * psa->cbElements;
    return true;
}

void releaseElement(VARTYPE vt, void* element) {
    if (vt == VT_BSTR) {
        BSTR* text = static_cast<BSTR*>(element);
        SysFreeString(*text);
        *text = nullptr;
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        IUnknown** object = static_cast<IUnknown**>(element);
        if (*object != nullptr) (*object)->Release();
        *object = nullptr;
    } else if (vt == VT_VARIANT) {
        VariantClear(static_cast<VARIANT*>(element));
    }
}

// Copies one element into zero-filled (or released) storage.
HRESULT copyElement(VARTYPE vt, const void* from, void* to, ULONG size) {
    if (vt == VT_BSTR) {
        BSTR source = *static_cast<BSTR const*>(from);
        BSTR copy = nullptr;
        if (source != nullptr) {
            copy =
                SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source), SysStringByteLen(source));
            if (copy == nullptr) return E_OUTOFMEMORY;
        }
        *static_cast<BSTR*>(to) = copy;
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        IUnknown* object = *static_cast<IUnknown* const*>(from);
        if (object != nullptr) object->AddRef();
        *static_cast<IUnknown**>(to) = object;
    } else if (vt == VT_VARIANT) {
        VariantInit(static_cast<VARIANT*>(to));
        return VariantCopy(static_cast<VARIANT*>(to), static_cast<const VARIANT*>(from));
    } else {
        std::memcpy(to, from, size);
    }
    return S_OK;
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
    const ULONG size = elementSize(vt);
    if (size == 0 || cDims == 0 || cDims > 0xFFFF || rgsabound == nullptr) return nullptr;
    if (nvx4::platform::FaultInjection::fire(nvx4::platform::FaultPoint::AllocArray))
        return nullptr;
    std::size_t count = 1;
    for (UINT d = 0; d < cDims; ++d) {
        if (rgsabound[d].cElements != 0 &&
            count > std::numeric_limits<std::uint32_t>::max() / size / rgsabound[d].cElements)
            return nullptr;
        count *= rgsabound[d].cElements;
    }
    const std::size_t descriptor = sizeof(SAFEARRAY) + (cDims - 1) * sizeof(SAFEARRAYBOUND);
    auto* block = static_cast<unsigned char*>(std::calloc(1, kHeader + descriptor));
    // At least one byte, so that the data pointer of an empty array is never null.
    void* data = std::calloc(count == 0 ? 1 : count, size);
    if (block == nullptr || data == nullptr) {
        std::free(block);
        std::free(data);
        return nullptr;
    }
    const DWORD storedType = vt;
    std::memcpy(block + kHeader - sizeof storedType, &storedType, sizeof storedType);
    auto* psa = reinterpret_cast<SAFEARRAY*>(block + kHeader);
    psa->cDims = static_cast<USHORT>(cDims);
    psa->fFeatures = featuresOf(vt);
    psa->cbElements = size;
    psa->pvData = data;
    // The descriptor holds the bounds in reverse order of the dimensions.
    for (UINT d = 0; d < cDims; ++d) psa->rgsabound[cDims - 1 - d] = rgsabound[d];
    return psa;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    SAFEARRAYBOUND bound{cElements, lLbound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    if (psa == nullptr) return S_OK;
    if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
    const VARTYPE vt = vartypeOf(psa);
    auto* data = static_cast<unsigned char*>(psa->pvData);
    const std::size_t count = elementCount(psa);
    for (std::size_t i = 0; i < count && data != nullptr; ++i)
        releaseElement(vt, data + i * psa->cbElements);
    std::free(psa->pvData);
    std::free(blockOf(psa));
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
    if (ppsaOut == nullptr) return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (psa == nullptr) return S_OK;
    const VARTYPE vt = vartypeOf(psa);
    SAFEARRAYBOUND bounds[64];
    if (psa->cDims > 64) return E_INVALIDARG;
    for (USHORT d = 0; d < psa->cDims; ++d) bounds[d] = psa->rgsabound[psa->cDims - 1 - d];
    SAFEARRAY* copy = SafeArrayCreate(vt, psa->cDims, bounds);
    if (copy == nullptr) return E_OUTOFMEMORY;
    const auto* from = static_cast<const unsigned char*>(psa->pvData);
    auto* to = static_cast<unsigned char*>(copy->pvData);
    const std::size_t count = elementCount(psa);
    for (std::size_t i = 0; i < count; ++i) {
        const HRESULT result =
            copyElement(vt, from + i * psa->cbElements, to + i * psa->cbElements, psa->cbElements);
        if (FAILED(result)) {
            SafeArrayDestroy(copy);
            return result;
        }
    }
    *ppsaOut = copy;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa == nullptr ? 0 : psa->cDims; }

UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa == nullptr ? 0 : psa->cbElements; }

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
    if (psa == nullptr || pvt == nullptr) return E_INVALIDARG;
    *pvt = vartypeOf(psa);
    return *pvt == VT_EMPTY ? E_INVALIDARG : S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
    if (psa == nullptr || plLbound == nullptr) return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[psa->cDims - nDim].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
    if (psa == nullptr || plUbound == nullptr) return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& bound = psa->rgsabound[psa->cDims - nDim];
    *plUbound = static_cast<LONG>(static_cast<std::int64_t>(bound.lLbound) + bound.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
    if (psa == nullptr) return E_INVALIDARG;
    if (psa->cLocks == std::numeric_limits<ULONG>::max()) return E_UNEXPECTED;
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
    if (psa == nullptr) return E_INVALIDARG;
    if (psa->cLocks == 0) return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
    if (psa == nullptr || ppvData == nullptr) return E_INVALIDARG;
    const HRESULT result = SafeArrayLock(psa);
    if (FAILED(result)) return result;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) { return SafeArrayUnlock(psa); }

HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    if (psa == nullptr || rgIndices == nullptr) return E_INVALIDARG;
    std::size_t offset;
    if (!offsetOf(psa, rgIndices, offset)) return DISP_E_BADINDEX;
    const VARTYPE vt = vartypeOf(psa);
    void* element = static_cast<unsigned char*>(psa->pvData) + offset;
    if (vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        // The value itself is passed, not a pointer to it.
        void* stored = nullptr;
        const HRESULT result = copyElement(vt, &pv, &stored, psa->cbElements);
        if (FAILED(result)) return result;
        releaseElement(vt, element);
        std::memcpy(element, &stored, sizeof stored);
        return S_OK;
    }
    if (pv == nullptr) return E_INVALIDARG;
    if (vt == VT_VARIANT)
        return VariantCopy(static_cast<VARIANT*>(element), static_cast<VARIANT*>(pv));
    std::memcpy(element, pv, psa->cbElements);
    return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    if (psa == nullptr || rgIndices == nullptr || pv == nullptr) return E_INVALIDARG;
    std::size_t offset;
    if (!offsetOf(psa, rgIndices, offset)) return DISP_E_BADINDEX;
    const void* element = static_cast<const unsigned char*>(psa->pvData) + offset;
    return copyElement(vartypeOf(psa), element, pv, psa->cbElements);
}
