// The management locator: connects to a namespace of the local repository.
#ifndef NVX4_PLATFORM_WBEMLOCATOR_H
#define NVX4_PLATFORM_WBEMLOCATOR_H

#include <wbemcli.h>

#include "../com/ComObject.h"

namespace nvx4::platform {

class WbemLocator : public ComObject<IWbemLocator> {
  public:
    WbemLocator() : ComObject(IID_IWbemLocator) {}

    // Accepts \\host\namespace (or //host/namespace) and a bare namespace. A host other than this
    // machine gives WBEM_E_TRANSPORT_FAILURE, credentials for this machine
    // WBEM_E_LOCAL_CREDENTIALS, an unknown namespace WBEM_E_INVALID_NAMESPACE, and sources that do
    // not load WBEM_E_INVALID_SYNTAX.
    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource, const BSTR strUser,
                                            const BSTR strPassword, const BSTR strLocale,
                                            LONG lSecurityFlags, const BSTR strAuthority,
                                            IWbemContext* pCtx,
                                            IWbemServices** ppNamespace) override;
};

}  // namespace nvx4::platform

#endif
