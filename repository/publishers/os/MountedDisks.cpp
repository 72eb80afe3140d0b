#include "MountedDisks.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace nvx4::repository::os {

namespace {

const std::set<std::string, std::less<>> kPseudo = {
    "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2", "configfs",
    "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl", "hugetlbfs",
    "mqueue",     "nsfs",        "proc",     "pstore",   "ramfs",   "rpc_pipefs",
    "securityfs", "selinuxfs",   "sysfs",    "tmpfs",    "tracefs", "none"};
const std::set<std::string, std::less<>> kRemote = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "9p", "glusterfs", "lustre"};

// Mount tables write space, tab, newline and backslash as \040, \011, \012, \134.
std::string unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

}  // namespace

bool MountedDisks::isPseudo(const std::string& type) { return kPseudo.count(type) != 0; }

bool MountedDisks::isRemote(const std::string& type) {
    return kRemote.count(type) != 0 || type.rfind("fuse.sshfs", 0) == 0;
}

std::vector<MountedDisks::Mount> MountedDisks::parse(std::string_view mounts, bool withPseudo) {
    std::vector<Mount> found;
    std::istringstream in{std::string(mounts)};
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        if (isRemote(type) || (!withPseudo && isPseudo(type))) continue;
        mountPoint = unescape(mountPoint);
        found.erase(std::remove_if(found.begin(), found.end(),
                                   [&](const Mount& m) { return m.mountPoint == mountPoint; }),
                    found.end());
        found.push_back({mountPoint, type});
    }
    return found;
}

std::vector<MountedDisks::Disk> MountedDisks::read(const SystemRoot& root, bool withPseudo) {
    std::vector<Disk> disks;
    for (const Mount& mount : parse(root.read("/proc/mounts"), withPseudo)) {
        struct statvfs fs {};
        if (::statvfs(root.path(mount.mountPoint).c_str(), &fs) != 0 || fs.f_blocks == 0) continue;
        const std::uint64_t unit = fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize;
        disks.push_back({mount.mountPoint, mount.type, fs.f_blocks * unit, fs.f_bavail * unit});
    }
    return disks;
}

}  // namespace nvx4::repository::os
