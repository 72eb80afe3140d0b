// CoSetProxyBlanket: checks the security settings as COM does and records them; the platform's
// objects are in-process, so there is nothing further to apply.
#include <objbase.h>

#include <mutex>
#include <string>
#include <vector>

#include "nvx4/platform/ProxyBlanketLog.h"
#include "nvx4/platform/FaultInjection.h"
#include "nvx4/repository/Utf8.h"

using nvx4::platform::FaultInjection;
using nvx4::platform::FaultPoint;
using nvx4::platform::ProxyBlanketCall;
using nvx4::platform::ProxyBlanketLog;

namespace {

constexpr std::size_t kLogLength = 64;
constexpr DWORD kKnownCapabilities = 0x3FFF;

// The latest calls in a ring of fixed size: once it is full, each call takes the oldest one's
// place, so recording allocates nothing more however long the process runs.
class CallRing {
  public:
    CallRing() { calls_.reserve(kLogLength); }
    void record(ProxyBlanketCall call) {
        if (calls_.size() < kLogLength) {
            calls_.push_back(std::move(call));
            return;
        }
        calls_[oldest_] = std::move(call);
        oldest_ = (oldest_ + 1) % kLogLength;
    }
    std::vector<ProxyBlanketCall> inOrder() const {
        std::vector<ProxyBlanketCall> ordered(calls_.begin() + oldest_, calls_.end());
        ordered.insert(ordered.end(), calls_.begin(), calls_.begin() + oldest_);
        return ordered;
    }
    void clear() {
        calls_.clear();
        oldest_ = 0;
    }

  private:
    std::vector<ProxyBlanketCall> calls_;
    std::size_t oldest_ = 0;
};

std::mutex logMutex;
CallRing log;

bool isKnownService(DWORD service) {
    return service == RPC_C_AUTHN_NONE || service == RPC_C_AUTHN_WINNT ||
           service == RPC_C_AUTHN_GSS_NEGOTIATE || service == RPC_C_AUTHN_GSS_KERBEROS ||
           service == static_cast<DWORD>(RPC_C_AUTHN_DEFAULT);
}

// An identity string in the width its flags say.
std::string identityText(const USHORT* text, ULONG length, ULONG flags) {
    if (text == nullptr) return std::string();
    if (flags == SEC_WINNT_AUTH_IDENTITY_UNICODE)
        return nvx4::repository::Utf8::toNarrow(
            std::wstring_view(reinterpret_cast<const OLECHAR*>(text), length));
    return std::string(reinterpret_cast<const char*>(text), length);
}

bool validIdentity(const COAUTHIDENTITY* identity) {
    return identity->Flags == SEC_WINNT_AUTH_IDENTITY_ANSI ||
           identity->Flags == SEC_WINNT_AUTH_IDENTITY_UNICODE;
}

}  // namespace

namespace nvx4::platform {

std::vector<ProxyBlanketCall> ProxyBlanketLog::calls() {
    std::lock_guard<std::mutex> lock(logMutex);
    return log.inOrder();
}

void ProxyBlanketLog::clear() {
    std::lock_guard<std::mutex> lock(logMutex);
    log.clear();
}

void ProxyBlanketLog::record(ProxyBlanketCall call) {
    std::lock_guard<std::mutex> lock(logMutex);
    log.record(std::move(call));
}

}  // namespace nvx4::platform

HRESULT CoSetProxyBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD dwAuthzSvc,
                          OLECHAR* pServerPrincName, DWORD dwAuthnLevel, DWORD dwImpLevel,
                          RPC_AUTH_IDENTITY_HANDLE pAuthInfo, DWORD dwCapabilities) {
    if (pProxy == nullptr) return E_INVALIDARG;
    if (!isKnownService(dwAuthnSvc) || dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY ||
        dwImpLevel > RPC_C_IMP_LEVEL_DELEGATE || (dwCapabilities & ~kKnownCapabilities) ||
        ((dwCapabilities & EOAC_STATIC_CLOAKING) && (dwCapabilities & EOAC_DYNAMIC_CLOAKING)))
        return E_INVALIDARG;
    const bool hasIdentity = pAuthInfo != nullptr && pAuthInfo != COLE_DEFAULT_AUTHINFO;
    const auto* identity = static_cast<const COAUTHIDENTITY*>(pAuthInfo);
    if (hasIdentity && !validIdentity(identity)) return E_INVALIDARG;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::ProxyBlanket))
        return *fault;
    // Only a live COM object can be a proxy.
    IUnknown* unknown = nullptr;
    if (FAILED(pProxy->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown))))
        return E_NOINTERFACE;
    unknown->Release();

    ProxyBlanketCall call;
    call.proxy = pProxy;
    call.authnService = dwAuthnSvc;
    call.authzService = dwAuthzSvc;
    call.hasPrincipal = pServerPrincName != nullptr;
    call.authnLevel = dwAuthnLevel;
    call.impLevel = dwImpLevel;
    call.capabilities = dwCapabilities;
    call.hasIdentity = hasIdentity;
    if (hasIdentity) {
        call.user = identityText(identity->User, identity->UserLength, identity->Flags);
        call.domain = identityText(identity->Domain, identity->DomainLength, identity->Flags);
        call.password = identityText(identity->Password, identity->PasswordLength, identity->Flags);
        call.identityFlags = identity->Flags;
    }
    ProxyBlanketLog::record(std::move(call));
    return S_OK;
}
