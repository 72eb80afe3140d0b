// The `os` publisher: this machine's processors, memory, disks, processes, network interfaces
// and general facts (classes NVX4_OS_CPUUsage, _MemoryUsage, _DiskUsage, _Process,
// _NetworkUsage and _SysInfo), read from /proc, statvfs, utmp and os-release at each enumeration.
#ifndef NVX4_REPOSITORY_OS_OSPUBLISHER_H
#define NVX4_REPOSITORY_OS_OSPUBLISHER_H

#include <memory>
#include <string>

#include "CpuTimes.h"
#include "NetworkCounters.h"
#include "ProcessTable.h"
#include "ReadingHistory.h"
#include "SystemRoot.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository::os {

class OsPublisher : public Publisher {
  public:
    // The source-list argument: "" for this machine, or comma-separated words: an absolute
    // folder to read instead of "/" (ROOT/proc, ROOT/etc/os-release, ...), and `pseudo` to list
    // pseudo file systems (proc, tmpfs, cgroup, ...) among the disks. Throws
    // std::invalid_argument for any other word.
    static std::shared_ptr<Publisher> make(const std::string& argument);

    OsPublisher(const std::string& root, bool withPseudoFileSystems);

    bool fills(std::wstring_view className) const override;
    Publication publish(std::wstring_view className) override;

  private:
    struct ClassEntry;
    static const ClassEntry* findClass(std::wstring_view className);

    Publication processors();
    Publication memory();
    Publication disks();
    Publication processes();
    Publication network();
    Publication system();

    SystemRoot root_;
    bool withPseudo_;
    ReadingHistory<CpuTimes> cpuHistory_;
    ReadingHistory<ProcessTable> processHistory_;
    ReadingHistory<NetworkCounters> networkHistory_;
};

}  // namespace nvx4::repository::os

#endif
