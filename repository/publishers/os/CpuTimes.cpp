#include "CpuTimes.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace nvx4::repository::os {

namespace {

// user nice system idle iowait irq softirq steal guest guest_nice: guest time is already
// counted in user and nice, so the total is the first eight.
CpuCounters parseLine(const std::string& line) {
    std::istringstream in(line);
    std::string label;
    in >> label;
    std::uint64_t v[8] = {};
    int fields = 0;
    while (fields < 8 && in >> v[fields]) ++fields;
    if (fields < 4) throw std::runtime_error("malformed /proc/stat line: " + line);
    CpuCounters counters;
    counters.name = label == "cpu" ? "_Total" : label.substr(3);
    counters.user = v[0] + v[1];
    counters.system = v[2] + v[5] + v[6];
    counters.idle = v[3] + v[4];
    for (std::uint64_t value : v) counters.total += value;
    return counters;
}

int percent(std::uint64_t part, std::uint64_t whole) {
    if (whole == 0) return 0;
    return static_cast<int>(std::lround(100.0 * static_cast<double>(part) / whole));
}

std::uint64_t rise(std::uint64_t from, std::uint64_t to) { return to > from ? to - from : 0; }

}  // namespace

CpuTimes CpuTimes::parse(std::string_view stat, Clock::time_point taken) {
    CpuTimes times;
    times.taken = taken;
    std::istringstream in{std::string(stat)};
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 3, "cpu") == 0) times.entries.push_back(parseLine(line));
    if (times.entries.empty()) throw std::runtime_error("/proc/stat has no cpu lines");
    return times;
}

std::vector<CpuTimes::Usage> CpuTimes::usage(const CpuTimes& earlier, const CpuTimes& later) {
    return later.since<Usage>(earlier, [](const CpuCounters& before, const CpuCounters& now) {
        const std::uint64_t total = rise(before.total, now.total);
        const std::uint64_t idle = rise(before.idle, now.idle);
        return Usage{now.name, percent(rise(before.user, now.user), total),
                     percent(rise(before.system, now.system), total),
                     percent(total > idle ? total - idle : 0, total)};
    });
}

}  // namespace nvx4::repository::os
