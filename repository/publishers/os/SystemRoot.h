// The files of the machine the os publisher describes, under a root folder ("/" normally; a
// folder built by a test otherwise): ROOT/proc/stat, ROOT/etc/os-release, ...
#ifndef NVX4_REPOSITORY_OS_SYSTEMROOT_H
#define NVX4_REPOSITORY_OS_SYSTEMROOT_H

#include <optional>
#include <string>
#include <vector>

namespace nvx4::repository::os {

class SystemRoot {
  public:
    // `root` is an absolute folder; throws std::invalid_argument otherwise.
    explicit SystemRoot(const std::string& root);

    // ROOT joined with an absolute path such as "/proc/stat".
    std::string path(const std::string& absolute) const { return prefix_ + absolute; }
    // The whole file; throws PublishError when it is missing or cannot be read.
    std::string read(const std::string& absolute) const;
    // The whole file, or nothing when it does not exist (ENOENT, ENOTDIR); throws PublishError
    // for any other failure.
    std::optional<std::string> readIfPresent(const std::string& absolute) const;
    // The file of a process that may exit while it is read: nothing when it is gone (ENOENT,
    // ESRCH); throws PublishError for any other failure.
    std::optional<std::string> readOfProcess(int pid, const char* file) const;
    // The process ids in ROOT/proc, ascending.
    std::vector<int> processIds() const;

  private:
    std::string prefix_;
};

}  // namespace nvx4::repository::os

#endif
