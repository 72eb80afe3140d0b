// The credentials of a WMI connection, and the COM proxy security that applies them to every
// proxy the driver obtains.
#ifndef WMISECURITY_H
#define WMISECURITY_H

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include "BstrHolder.h"

// Holds private copies of a user name and password (either may be null).
class WMISecurity {
  public:
    WMISecurity() = default;
    // Copies both strings; raises WMIException E_OUTOFMEMORY when one cannot be allocated.
    WMISecurity(const WMISecurity& other);
    WMISecurity& operator=(const WMISecurity& other);

    // Replaces both stored strings by copies of the given ones.
    void setCredentials(BSTR user, BSTR password);
    // Enables every privilege of the calling thread, then sets the proxy's security to the stored
    // credentials at call-level authentication and impersonation. Raises WMIException on failure.
    void setProxyBlanket(IUnknown* proxy) const;

    BSTR getUser() const { return user.get(); }
    BSTR getPassword() const { return password.get(); }

  private:
    static void assign(BstrHolder& target, BSTR source);

    BstrHolder user;
    BstrHolder password;
};

// Makes the calling thread impersonate itself and enables every privilege its token holds. The
// thread stays so afterwards. Returns 0, or WBEM_E_ACCESS_DENIED / WBEM_E_OUT_OF_MEMORY; raises
// WMIException 0x22000FF5 when the thread cannot impersonate itself.
HRESULT enablePrivileges();

// Sets a proxy's authentication. Without authority and credentials the caller's own identity is
// used (cloaked on systems that support it); otherwise an explicit identity is built from them.
HRESULT setInterfaceSecurity(IUnknown* proxy, const wchar_t* authority, const wchar_t* user,
                             const wchar_t* password, DWORD authenticationLevel,
                             DWORD impersonationLevel);

// Splits credentials into domain and user: the domain comes from an authority written
// "NTLMDOMAIN:domain" (prefix in any case) or from a user written "domain\user". Both results
// are new BSTRs or null; the caller frees them. Returns 0 or E_INVALIDARG (E_OUTOFMEMORY when a
// string cannot be allocated).
HRESULT parseAuthorityUser(const wchar_t* authority, const wchar_t* user, BSTR* domain,
                           BSTR* userName);

// System version tests; a failing version query counts as false.
bool isWindowsNT();
bool isWindowsNTBeforeVersion5();

#endif
