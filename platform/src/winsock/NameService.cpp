#include "nvx4/platform/NameService.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace nvx4::platform {
namespace {

constexpr int kHostNotFound = 11001;  // WSAHOST_NOT_FOUND
constexpr int kTryAgain = 11002;      // WSATRY_AGAIN
constexpr int kNoRecovery = 11003;    // WSANO_RECOVERY
constexpr int kNetworkDown = 10050;   // WSAENETDOWN

struct Table {
    std::optional<std::string> machineName;
    std::vector<HostEntry> hosts;
};

std::mutex tableMutex;
std::optional<Table> table;  // empty: use the system

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

int resolverError(int gaiError) {
    switch (gaiError) {
        case EAI_AGAIN:
            return kTryAgain;
        case EAI_FAIL:
            return kNoRecovery;
        default:
            return kHostNotFound;
    }
}

int systemByName(const std::string& name, HostEntry& entry) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (rc != 0) return resolverError(rc);
    entry = HostEntry{};
    entry.officialName = found->ai_canonname ? found->ai_canonname : name;
    for (addrinfo* a = found; a; a = a->ai_next) {
        auto address = reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
        if (std::find(entry.addresses.begin(), entry.addresses.end(), address) ==
            entry.addresses.end())
            entry.addresses.push_back(address);
    }
    freeaddrinfo(found);
    return 0;
}

int systemByAddress(std::uint32_t address, HostEntry& entry) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = address;
    char host[NI_MAXHOST];
    int rc = getnameinfo(reinterpret_cast<sockaddr*>(&socketAddress), sizeof socketAddress, host,
                         sizeof host, nullptr, 0, NI_NAMEREQD);
    if (rc != 0) return resolverError(rc);
    entry = HostEntry{host, {}, {address}};
    return 0;
}

}  // namespace

void NameService::useTable(std::optional<std::string> machineName, std::vector<HostEntry> hosts) {
    std::lock_guard<std::mutex> lock(tableMutex);
    table = Table{std::move(machineName), std::move(hosts)};
}

void NameService::useSystem() {
    std::lock_guard<std::mutex> lock(tableMutex);
    table.reset();
}

int NameService::machineName(std::string& name) {
    {
        std::lock_guard<std::mutex> lock(tableMutex);
        if (table) {
            if (!table->machineName) return kNetworkDown;
            name = *table->machineName;
            return 0;
        }
    }
    char buffer[1024] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0) return kNetworkDown;
    name = buffer;
    return 0;
}

int NameService::byName(const std::string& name, HostEntry& entry) {
    {
        std::lock_guard<std::mutex> lock(tableMutex);
        if (table) {
            for (const HostEntry& host : table->hosts) {
                bool match =
                    equalsIgnoringCase(host.officialName, name) ||
                    std::any_of(host.aliases.begin(), host.aliases.end(),
                                [&](const std::string& a) { return equalsIgnoringCase(a, name); });
                if (match) {
                    entry = host;
                    return 0;
                }
            }
            return kHostNotFound;
        }
    }
    return systemByName(name, entry);
}

int NameService::byAddress(std::uint32_t address, HostEntry& entry) {
    {
        std::lock_guard<std::mutex> lock(tableMutex);
        if (table) {
            for (const HostEntry& host : table->hosts) {
                if (std::find(host.addresses.begin(), host.addresses.end(), address) !=
                    host.addresses.end()) {
                    entry = host;
                    return 0;
                }
            }
            return kHostNotFound;
        }
    }
    return systemByAddress(address, entry);
}

bool NameService::parseAddress(const char* text, std::uint32_t& address) {
    in_addr parsed{};
    if (text == nullptr || inet_aton(text, &parsed) == 0) return false;
    address = parsed.s_addr;
    return true;
}

}  // namespace nvx4::platform
