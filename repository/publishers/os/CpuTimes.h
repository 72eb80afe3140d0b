// Processor time counters of /proc/stat ("cpu" and "cpuN" lines) and the usage between two
// readings, as whole percentages of the interval.
#ifndef NVX4_REPOSITORY_OS_CPUTIMES_H
#define NVX4_REPOSITORY_OS_CPUTIMES_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CounterReading.h"

namespace nvx4::repository::os {

struct CpuCounters {
    std::string name;  // "_Total" for the "cpu" line, else the processor number
    std::uint64_t user = 0, system = 0, idle = 0, total = 0;
};

class CpuTimes : public CounterReading<CpuCounters> {
  public:
    struct Usage {
        std::string name;
        int user, system, busy;
    };

    // Parses the cpu lines of /proc/stat; throws std::runtime_error for a malformed one.
    static CpuTimes parse(std::string_view stat, Clock::time_point taken);
    // Usage of each processor present in both readings, in the order of `later`.
    static std::vector<Usage> usage(const CpuTimes& earlier, const CpuTimes& later);
};

}  // namespace nvx4::repository::os

#endif
