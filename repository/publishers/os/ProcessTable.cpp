#include "ProcessTable.h"

#include <sched.h>

#include <algorithm>
#include <sstream>

#include "CimDateTime.h"
#include "CimText.h"

namespace nvx4::repository::os {

namespace {

// Fields after the command name, counted from the state (field 3 of the line).
constexpr int kState = 0, kParent = 1, kUser = 11, kKernel = 12, kNice = 16, kStart = 19,
              kLast = 21, kPolicy = 38;

// The "VmRSS:   1234 kB" line of a status text in bytes; 0 without one (kernel threads,
// zombies).
std::int64_t residentBytes(std::string_view status) {
    const std::size_t at = status.find("\nVmRSS:");
    if (at == std::string_view::npos) return 0;
    return std::atoll(std::string(status.substr(at + 7, 32)).c_str()) * 1024;
}

Value percentage(double part, double whole) {
    return Value::real(whole > 0 ? 100.0 * part / whole : 0.0);
}

std::string hundredNanoseconds(std::uint64_t ticks, long ticksPerSecond) {
    return std::to_string(ticks * (10000000 / static_cast<std::uint64_t>(ticksPerSecond)));
}

const ProcessTable::Process* find(const std::vector<ProcessTable::Process>& processes, int pid) {
    auto at = std::lower_bound(
        processes.begin(), processes.end(), pid,
        [](const ProcessTable::Process& process, int wanted) { return process.pid < wanted; });
    return at != processes.end() && at->pid == pid ? &*at : nullptr;
}

}  // namespace

std::optional<ProcessTable::Process> ProcessTable::parse(std::string_view stat,
                                                         std::string_view status) {
    const std::size_t open = stat.find(" (");
    const std::size_t close = stat.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return std::nullopt;
    Process process;
    process.pid = std::atoi(std::string(stat.substr(0, open)).c_str());
    process.name = std::string(stat.substr(open + 2, close - open - 2));
    std::istringstream in{std::string(stat.substr(close + 1))};
    std::vector<std::string> fields;
    for (std::string field; in >> field;) fields.push_back(field);
    if (fields.size() <= kLast) return std::nullopt;
    const auto number = [&fields](int index) { return std::stoll(fields[index]); };
    try {
        process.state = fields[kState][0];
        process.parent = static_cast<int>(number(kParent));
        process.userTicks = std::stoull(fields[kUser]);
        process.kernelTicks = std::stoull(fields[kKernel]);
        process.nice = static_cast<int>(number(kNice));
        process.startTicks = std::stoull(fields[kStart]);
        if (fields.size() > kPolicy) process.policy = static_cast<unsigned>(number(kPolicy));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    process.residentBytes = residentBytes(status);
    return process;
}

ProcessTable ProcessTable::read(const SystemRoot& root) {
    ProcessTable table;
    for (int pid : root.processIds()) {
        // Either file gone: the process exited since the folder was listed.
        const std::optional<std::string> stat = root.readOfProcess(pid, "stat");
        if (!stat) continue;
        const std::optional<std::string> status = root.readOfProcess(pid, "status");
        if (!status) continue;
        if (std::optional<Process> process = parse(*stat, *status))
            table.processes.push_back(*process);
    }
    table.taken = Clock::now();
    return table;
}

int ProcessTable::executionState(char state) {
    switch (state) {
        case 'R':
            return 3;  // Running
        case 'W':
            return 2;  // Ready: waking
        case 'S':      // interruptible sleep
        case 'D':      // uninterruptible wait
        case 'I':      // idle kernel thread
        case 'P':      // parked
        case 'K':
            return 4;  // Blocked
        case 'T':
        case 't':
            return 8;  // Stopped by a signal or a tracer
        case 'Z':
        case 'X':
        case 'x':
            return 7;  // Terminated
        default:
            return 0;  // Unknown
    }
}

int ProcessTable::windowsPriority(unsigned policy, int nice) {
    if (policy == SCHED_FIFO || policy == SCHED_RR) return 24;  // real-time
    if (policy == SCHED_IDLE || nice >= 15) return 4;           // idle
    if (nice > 0) return 6;                                     // below normal
    if (nice == 0) return 8;                                    // normal
    if (nice >= -10) return 10;                                 // above normal
    return 13;                                                  // high
}

std::vector<PropertyValues> ProcessTable::instances(const ProcessTable& earlier,
                                                    const ProcessTable& later,
                                                    const Machine& machine) {
    const double interval = std::chrono::duration<double>(later.taken - earlier.taken).count();
    const double hz = static_cast<double>(machine.ticksPerSecond);
    std::vector<PropertyValues> instances;
    instances.reserve(later.processes.size());
    for (const Process& p : later.processes) {
        const std::uint64_t ticks = p.userTicks + p.kernelTicks;
        const Process* before = find(earlier.processes, p.pid);
        std::uint64_t used = ticks;  // a process new since the earlier reading: all its time
        if (before != nullptr && before->startTicks == p.startTicks)
            used = ticks >= before->userTicks + before->kernelTicks
                       ? ticks - before->userTicks - before->kernelTicks
                       : 0;
        const double cpu = std::min(100.0 * machine.processors, 100.0 * used / hz / interval);
        const double age = std::max(0.0, machine.uptimeSeconds - p.startTicks / hz);
        const std::int64_t resident = p.residentBytes;
        instances.push_back({
            {L"SystemName", Value::text(machine.systemName)},
            {L"Handle", Value::text(std::to_string(p.pid))},
            {L"Name", Value::text(p.name)},
            {L"Priority", Value::integer(windowsPriority(p.policy, p.nice))},
            {L"CreationDate", Value::text(CimDateTime::local(
                                  machine.nowMicroseconds - static_cast<std::int64_t>(age * 1e6)))},
            {L"UserModeTime", Value::text(hundredNanoseconds(p.userTicks, machine.ticksPerSecond))},
            {L"KernelModeTime",
             Value::text(hundredNanoseconds(p.kernelTicks, machine.ticksPerSecond))},
            {L"ParentProcessID", Value::integer(p.parent)},
            {L"WorkingSetSize", Value::text(std::to_string(resident))},
            {L"ExecutionState", Value::integer(executionState(p.state))},
            {L"ElapsedTime", Value::text(CimText::elapsed(static_cast<std::int64_t>(age)))},
            {L"CPUUsage", Value::real(interval > 0 ? cpu : 0.0)},
            {L"MemoryUsage", percentage(static_cast<double>(resident),
                                        static_cast<double>(machine.memoryKilobytes) * 1024)},
        });
    }
    return instances;
}

}  // namespace nvx4::repository::os
