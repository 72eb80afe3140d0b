// The processes of /proc/<pid>/stat, one reading, and their instances of NVX4_OS_Process.
#ifndef NVX4_REPOSITORY_OS_PROCESSTABLE_H
#define NVX4_REPOSITORY_OS_PROCESSTABLE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ReadingHistory.h"
#include "SystemRoot.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository::os {

class ProcessTable {
  public:
    // The fields of /proc/<pid>/stat and /proc/<pid>/status the class needs; times in clock
    // ticks.
    struct Process {
        int pid = 0;
        std::string name;
        char state = '?';
        int parent = 0;
        std::uint64_t userTicks = 0, kernelTicks = 0, startTicks = 0;
        int nice = 0;
        unsigned policy = 0;
        std::int64_t residentBytes = 0;  // VmRSS of status: exact, where stat's count lags
    };
    // What the instances are computed against, read once per enumeration.
    struct Machine {
        std::string systemName;
        double uptimeSeconds = 0;           // /proc/uptime at the later reading
        std::int64_t nowMicroseconds = 0;   // the wall clock at the same moment
        std::uint64_t memoryKilobytes = 0;  // MemTotal
        long ticksPerSecond = 100;
        int processors = 1;
    };

    // One /proc/<pid>/stat and status text; nothing when the stat line is not whole.
    static std::optional<Process> parse(std::string_view stat, std::string_view status);
    // Every process of ROOT/proc; processes that exit while they are read are left out.
    static ProcessTable read(const SystemRoot& root);
    // Windows execution state of a Linux process state letter.
    static int executionState(char state);
    // Windows base priority (0-31, 8 normal) of a scheduling policy and nice value.
    static int windowsPriority(unsigned policy, int nice);

    // The instances of the processes of `later`, CPU usage over the time since `earlier`.
    static std::vector<PropertyValues> instances(const ProcessTable& earlier,
                                                 const ProcessTable& later, const Machine& machine);

    Clock::time_point taken;
    std::vector<Process> processes;  // ascending pid
};

}  // namespace nvx4::repository::os

#endif
