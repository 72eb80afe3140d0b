// General facts of the machine for NVX4_OS_SysInfo: names, versions, address, users, processes.
#ifndef NVX4_REPOSITORY_OS_SYSTEMSUMMARY_H
#define NVX4_REPOSITORY_OS_SYSTEMSUMMARY_H

#include <optional>
#include <string>
#include <string_view>

#include "SystemRoot.h"

namespace nvx4::repository::os {

class SystemSummary {
  public:
    // CIM_OperatingSystem.OSType of Linux.
    static constexpr int kLinuxOsType = 36;

    // ROOT/proc/sys/kernel/hostname, else the node name of uname.
    static std::string hostName(const SystemRoot& root);
    // "64-bit" or "32-bit" from the machine architecture (ROOT/proc/sys/kernel/arch, else uname).
    static std::string architecture(const SystemRoot& root);
    static std::string kernelRelease(const SystemRoot& root);
    // PRETTY_NAME of ROOT/etc/os-release (or ROOT/usr/lib/os-release), unquoted.
    static std::optional<std::string> distribution(const SystemRoot& root);
    static std::optional<std::string> prettyName(std::string_view osRelease);
    // The interface of the default route with the lowest metric in a /proc/net/route table.
    static std::optional<std::string> defaultRouteInterface(std::string_view route);
    // The first IPv4 address of the default route's interface, else of any other interface that
    // is up and not loopback, else the loopback address.
    static std::optional<std::string> primaryAddress(const SystemRoot& root);
    // User sessions in ROOT/run/utmp (or ROOT/var/run/utmp) whose process is still running.
    static int loggedInUsers(const SystemRoot& root);
};

}  // namespace nvx4::repository::os

#endif
