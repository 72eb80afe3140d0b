// Winsock start-up and look-ups over the platform name service.
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "nvx4/platform/NameService.h"

using nvx4::platform::HostEntry;
using nvx4::platform::NameService;

namespace {

constexpr WORD kHighestVersion = 0x0202;

std::atomic<int> startupCount{0};
thread_local int lastError = 0;

// The one hostent a thread owns, with the storage its pointers designate.
struct ThreadHostent {
    std::string name;
    std::vector<std::string> aliases;
    std::vector<char*> aliasPointers;
    std::vector<std::uint32_t> addresses;
    std::vector<char*> addressPointers;
    hostent entry{};

    hostent* fill(const HostEntry& source) {
        name = source.officialName;
        aliases = source.aliases;
        addresses = source.addresses;
        aliasPointers.clear();
        for (std::string& alias : aliases) aliasPointers.push_back(alias.data());
        aliasPointers.push_back(nullptr);
        addressPointers.clear();
        for (std::uint32_t& address : addresses)
            addressPointers.push_back(reinterpret_cast<char*>(&address));
        addressPointers.push_back(nullptr);
        entry.h_name = name.data();
        entry.h_aliases = aliasPointers.data();
        entry.h_addrtype = AF_INET;
        entry.h_length = 4;
        entry.h_addr_list = addressPointers.data();
        return &entry;
    }
};

thread_local ThreadHostent threadHostent;

bool started() {
    if (startupCount.load() > 0) return true;
    lastError = WSANOTINITIALISED;
    return false;
}

hostent* deliver(int error, const HostEntry& found) {
    if (error != 0) {
        lastError = error;
        return nullptr;
    }
    return threadHostent.fill(found);
}

}  // namespace

extern "C" {

int WINAPI WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData) {
    BYTE major = wVersionRequested & 0xff;
    BYTE minor = wVersionRequested >> 8;
    if (major < 1 || (major == 1 && minor < 1)) return WSAVERNOTSUPPORTED;
    if (lpWSAData == nullptr) return WSAEFAULT;
    std::memset(lpWSAData, 0, sizeof *lpWSAData);
    lpWSAData->wVersion = std::min<WORD>(wVersionRequested, kHighestVersion);
    lpWSAData->wHighVersion = kHighestVersion;
    std::strcpy(lpWSAData->szDescription, "WinSock 2.0");
    std::strcpy(lpWSAData->szSystemStatus, "Running");
    startupCount.fetch_add(1);
    return 0;
}

int WINAPI WSACleanup(void) {
    int count = startupCount.load();
    while (count > 0 && !startupCount.compare_exchange_weak(count, count - 1)) {
    }
    if (count > 0) return 0;
    lastError = WSANOTINITIALISED;
    return SOCKET_ERROR;
}

int WINAPI WSAGetLastError(void) { return lastError; }

void WINAPI WSASetLastError(int iError) { lastError = iError; }
}

int WINAPI gethostname(char* name, int namelen) {
    if (!started()) return SOCKET_ERROR;
    std::string machine;
    if (int error = NameService::machineName(machine)) {
        lastError = error;
        return SOCKET_ERROR;
    }
    if (name == nullptr || namelen < 0 || machine.size() + 1 > static_cast<size_t>(namelen)) {
        lastError = WSAEFAULT;
        return SOCKET_ERROR;
    }
    std::memcpy(name, machine.c_str(), machine.size() + 1);
    return 0;
}

struct hostent* WINAPI gethostbyname(const char* name) {
    if (!started()) return nullptr;
    HostEntry found;
    std::string machine;
    // A null name designates the local machine.
    if (name == nullptr && NameService::machineName(machine) == 0) name = machine.c_str();
    if (name == nullptr) return deliver(WSAHOST_NOT_FOUND, found);
    return deliver(NameService::byName(name, found), found);
}

struct hostent* WINAPI gethostbyaddr(const char* addr, int len, int type) {
    if (!started()) return nullptr;
    HostEntry found;
    if (addr == nullptr || len != 4) return deliver(WSAEFAULT, found);
    if (type != AF_INET) return deliver(WSAEINVAL, found);
    std::uint32_t address;
    std::memcpy(&address, addr, sizeof address);
    return deliver(NameService::byAddress(address, found), found);
}

ULONG WINAPI inet_addr(const char* cp) {
    std::uint32_t address;
    return NameService::parseAddress(cp, address) ? address : INADDR_NONE;
}
