// Stand-in for the Windows SDK's <unknwn.h>: IUnknown, the root of every COM interface.
#ifndef NVX4_PLATFORM_UNKNWN_H
#define NVX4_PLATFORM_UNKNWN_H

#include <guiddef.h>
#include <windef.h>
#include <winerror.h>

EXTERN_C const IID IID_IUnknown;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef(void) = 0;
    virtual ULONG STDMETHODCALLTYPE Release(void) = 0;
};
typedef IUnknown* LPUNKNOWN;

#endif
