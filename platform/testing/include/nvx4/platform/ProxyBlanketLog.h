// For tests: what CoSetProxyBlanket was asked to set, call by call (the latest 64 calls), so that
// a test can check the security a client applies to its proxies.
#ifndef NVX4_PLATFORM_PROXYBLANKETLOG_H
#define NVX4_PLATFORM_PROXYBLANKETLOG_H

#include <cstdint>
#include <string>
#include <vector>

namespace nvx4::platform {

struct ProxyBlanketCall {
    const void* proxy = nullptr;
    std::uint32_t authnService = 0;
    std::uint32_t authzService = 0;
    bool hasPrincipal = false;
    std::uint32_t authnLevel = 0;
    std::uint32_t impLevel = 0;
    std::uint32_t capabilities = 0;
    // The COAUTHIDENTITY passed, if any; its strings as UTF-8 whatever their width.
    bool hasIdentity = false;
    std::string user;
    std::string domain;
    std::string password;
    std::uint32_t identityFlags = 0;
};

class ProxyBlanketLog {
  public:
    // Successful calls only, oldest first.
    static std::vector<ProxyBlanketCall> calls();
    static void clear();
    static void record(ProxyBlanketCall call);
};

}  // namespace nvx4::platform

#endif
