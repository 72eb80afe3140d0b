// CoCreateInstance: the platform registers one class, the management locator, in-process.
#include <wbemcli.h>

#include <new>

#include "Apartment.h"
#include "../wmi/WbemLocator.h"

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (!nvx4::platform::Apartment::initialized()) return CO_E_NOTINITIALIZED;
    if (rclsid != CLSID_WbemLocator || !(dwClsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
    if (riid != IID_IWbemLocator && riid != IID_IUnknown) return E_NOINTERFACE;
    auto* locator = new (std::nothrow) nvx4::platform::WbemLocator();
    if (locator == nullptr) return E_OUTOFMEMORY;
    *ppv = static_cast<IWbemLocator*>(locator);
    return S_OK;
}
