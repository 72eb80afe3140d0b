// CoInitialize, CoInitializeEx and CoUninitialize: a per-thread count and the thread's
// concurrency model, which later initialisations must not change while the count is positive.
#include "Apartment.h"

#include <objbase.h>

namespace {

constexpr DWORD kModelMask = COINIT_APARTMENTTHREADED;

struct ThreadApartment {
    unsigned count = 0;
    DWORD model = 0;
};

thread_local ThreadApartment apartment;

}  // namespace

namespace nvx4::platform {

bool Apartment::initialized() { return apartment.count > 0; }

}  // namespace nvx4::platform

HRESULT CoInitialize(LPVOID pvReserved) {
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
    if (pvReserved != nullptr) return E_INVALIDARG;
    const DWORD known =
        COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE | COINIT_SPEED_OVER_MEMORY;
    if (dwCoInit & ~known) return E_INVALIDARG;
    const DWORD model = dwCoInit & kModelMask;
    if (apartment.count > 0 && apartment.model != model) return RPC_E_CHANGED_MODE;
    apartment.model = model;
    return apartment.count++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize(void) {
    if (apartment.count > 0) --apartment.count;
}
