// The mounted local file systems of ROOT/proc/mounts with their size and free space.
#ifndef NVX4_REPOSITORY_OS_MOUNTEDDISKS_H
#define NVX4_REPOSITORY_OS_MOUNTEDDISKS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "SystemRoot.h"

namespace nvx4::repository::os {

class MountedDisks {
  public:
    struct Mount {
        std::string mountPoint;
        std::string type;
    };
    struct Disk {
        std::string mountPoint;
        std::string type;
        std::uint64_t sizeBytes;
        std::uint64_t availableBytes;  // free space an unprivileged user may use
    };

    // The mounts of a mounts table, octal escapes decoded; a mount point mounted over again
    // appears once, at its last (visible) mount. Network file systems are left out, and pseudo
    // file systems (proc, sysfs, tmpfs, cgroup, ...) unless `withPseudo`.
    static std::vector<Mount> parse(std::string_view mounts, bool withPseudo);
    static bool isPseudo(const std::string& type);
    static bool isRemote(const std::string& type);
    // The disks of ROOT/proc/mounts. A mount point statvfs cannot reach (gone, or closed to this
    // user) and a file system without blocks are left out.
    static std::vector<Disk> read(const SystemRoot& root, bool withPseudo);
};

}  // namespace nvx4::repository::os

#endif
