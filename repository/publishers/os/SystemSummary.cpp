#include "SystemSummary.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <arpa/inet.h>
#include <utmp.h>

#include <cstring>
#include <limits>
#include <memory>
#include <sstream>

namespace nvx4::repository::os {

namespace {

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// A shell-style value of os-release: quotes removed, backslash escapes resolved.
std::string unquote(std::string_view value) {
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
        } else if (c == quote) {
            quote = 0;
        } else if (c == '\\' && quote != '\'' && i + 1 < value.size()) {
            out += value[++i];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string SystemSummary::hostName(const SystemRoot& root) {
    if (std::optional<std::string> name = root.readIfPresent("/proc/sys/kernel/hostname"))
        return firstLine(*name);
    utsname system{};
    ::uname(&system);
    return system.nodename;
}

std::string SystemSummary::architecture(const SystemRoot& root) {
    std::string machine;
    if (std::optional<std::string> arch = root.readIfPresent("/proc/sys/kernel/arch")) {
        machine = firstLine(*arch);
    } else {
        utsname system{};
        ::uname(&system);
        machine = system.machine;
    }
    const bool wide = machine.find("64") != std::string::npos || machine == "s390x";
    return wide ? "64-bit" : "32-bit";
}

std::string SystemSummary::kernelRelease(const SystemRoot& root) {
    return firstLine(root.read("/proc/sys/kernel/osrelease"));
}

std::optional<std::string> SystemSummary::prettyName(std::string_view osRelease) {
    std::istringstream in{std::string(osRelease)};
    for (std::string line; std::getline(in, line);)
        if (line.rfind("PRETTY_NAME=", 0) == 0) return unquote(line.substr(12));
    return std::nullopt;
}

std::optional<std::string> SystemSummary::distribution(const SystemRoot& root) {
    for (const char* file : {"/etc/os-release", "/usr/lib/os-release"})
        if (std::optional<std::string> text = root.readIfPresent(file)) return prettyName(*text);
    return std::nullopt;
}

std::optional<std::string> SystemSummary::defaultRouteInterface(std::string_view route) {
    std::istringstream in{std::string(route)};
    std::optional<std::string> best;
    unsigned long bestMetric = std::numeric_limits<unsigned long>::max();
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string name, destination, gateway;
        unsigned long flags = 0, references = 0, use = 0, metric = 0;
        if (!(fields >> name >> destination >> gateway >> std::hex >> flags >> std::dec >>
              references >> use >> metric))
            continue;
        if (destination == "00000000" && (flags & 1) != 0 && metric < bestMetric) {
            best = name;
            bestMetric = metric;
        }
    }
    return best;
}

std::optional<std::string> SystemSummary::primaryAddress(const SystemRoot& root) {
    const std::optional<std::string> route = root.readIfPresent("/proc/net/route");
    const std::optional<std::string> preferred =
        route ? defaultRouteInterface(*route) : std::nullopt;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return std::nullopt;
    std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owner(list, ::freeifaddrs);
    std::optional<std::string> onRoute, up, loopback;
    for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET) continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
        if (preferred && *preferred == a->ifa_name && !onRoute) onRoute = text;
        if ((a->ifa_flags & IFF_LOOPBACK) != 0) {
            if (!loopback) loopback = text;
        } else if ((a->ifa_flags & IFF_UP) != 0 && !up) {
            up = text;
        }
    }
    return onRoute ? onRoute : up ? up : loopback;
}

int SystemSummary::loggedInUsers(const SystemRoot& root) {
    std::optional<std::string> records = root.readIfPresent("/run/utmp");
    if (!records) records = root.readIfPresent("/var/run/utmp");
    if (!records) return 0;
    int users = 0;
    for (std::size_t at = 0; at + sizeof(utmp) <= records->size(); at += sizeof(utmp)) {
        utmp entry;
        std::memcpy(&entry, records->data() + at, sizeof entry);
        if (entry.ut_type != USER_PROCESS || entry.ut_user[0] == '\0') continue;
        struct stat process {};
        if (::stat(root.path("/proc/" + std::to_string(entry.ut_pid)).c_str(), &process) == 0)
            ++users;
    }
    return users;
}

}  // namespace nvx4::repository::os
