// The figures of /proc/meminfo, in kilobytes.
#ifndef NVX4_REPOSITORY_OS_MEMORYINFO_H
#define NVX4_REPOSITORY_OS_MEMORYINFO_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace nvx4::repository::os {

class MemoryInfo {
  public:
    static MemoryInfo parse(std::string_view meminfo);

    // The value of a field ("MemTotal"); throws std::runtime_error when the file lacks it.
    std::uint64_t kilobytes(const std::string& field) const;
    // Memory available to start new programs without swapping: MemAvailable, or on kernels
    // without it the free memory with page cache and reclaimable slab.
    std::uint64_t availableKilobytes() const;

  private:
    std::map<std::string, std::uint64_t, std::less<>> fields_;
};

}  // namespace nvx4::repository::os

#endif
