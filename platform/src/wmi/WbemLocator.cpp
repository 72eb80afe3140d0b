#include "WbemLocator.h"

#include <string>

#include "Guard.h"
#include "LocalMachine.h"
#include "WbemServices.h"
#include "nvx4/platform/FaultInjection.h"
#include "nvx4/repository/Names.h"
#include "nvx4/repository/Repository.h"

namespace nvx4::platform {

using repository::Names;
using repository::Repository;

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isEmpty(const BSTR text) { return text == nullptr || *text == L'\0'; }

// Splits \\host\namespace into host and namespace; a bare namespace has no host.
bool splitResource(const std::wstring& resource, std::wstring& host, std::wstring& ns) {
    if (resource.size() < 2 || !isSeparator(resource[0]) || !isSeparator(resource[1])) {
        ns = resource;
        return !ns.empty();
    }
    std::size_t end = 2;
    while (end < resource.size() && !isSeparator(resource[end])) ++end;
    host = resource.substr(2, end - 2);
    ns = end < resource.size() ? resource.substr(end + 1) : std::wstring();
    return !host.empty() && !ns.empty();
}

// An authority is empty or names a domain or a Kerberos principal.
bool validAuthority(const BSTR authority) {
    if (isEmpty(authority)) return true;
    const std::wstring_view text(authority);
    return Names::same(text.substr(0, 11), L"ntlmdomain:") ||
           Names::same(text.substr(0, 9), L"kerberos:");
}

}  // namespace

HRESULT WbemLocator::ConnectServer(const BSTR strNetworkResource, const BSTR strUser,
                                   const BSTR strPassword, const BSTR strLocale,
                                   LONG lSecurityFlags, const BSTR strAuthority, IWbemContext* pCtx,
                                   IWbemServices** ppNamespace) {
    (void)strLocale;
    (void)pCtx;
    if (ppNamespace == nullptr) return WBEM_E_INVALID_PARAMETER;
    *ppNamespace = nullptr;
    if (isEmpty(strNetworkResource) || !validAuthority(strAuthority) ||
        (lSecurityFlags & ~WBEM_FLAG_CONNECT_USE_MAX_WAIT))
        return WBEM_E_INVALID_PARAMETER;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::Connect))
        return *fault;
    return guarded([&] {
        std::wstring host;
        std::wstring ns;
        if (!splitResource(strNetworkResource, host, ns))
            return static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE);
        if (!host.empty() && !LocalMachine::designates(host))
            return static_cast<HRESULT>(WBEM_E_TRANSPORT_FAILURE);
        // As the service does, the local machine takes only the caller's own credentials.
        if (!isEmpty(strUser) || !isEmpty(strPassword))
            return static_cast<HRESULT>(WBEM_E_LOCAL_CREDENTIALS);
        std::shared_ptr<const repository::Snapshot> snapshot = Repository::current();
        if (!snapshot) return static_cast<HRESULT>(WBEM_E_INVALID_SYNTAX);
        const repository::Namespace* found = snapshot->findNamespace(ns);
        if (found == nullptr) return static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE);
        *ppNamespace = new WbemServices(found->name(), LocalMachine::name());
        return static_cast<HRESULT>(WBEM_S_NO_ERROR);
    });
}

}  // namespace nvx4::platform
