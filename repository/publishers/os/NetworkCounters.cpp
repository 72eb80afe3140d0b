#include "NetworkCounters.h"

#include <algorithm>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace nvx4::repository::os {

namespace {

// After "name:": receive bytes packets errs drop fifo frame compressed multicast, then transmit
// bytes packets ...
InterfaceCounters parseLine(const std::string& line, std::size_t colon) {
    InterfaceCounters interface;
    const std::size_t start = line.find_first_not_of(' ');
    interface.name = line.substr(start, colon - start);
    std::istringstream in(line.substr(colon + 1));
    std::uint64_t v[10] = {};
    for (std::uint64_t& value : v)
        if (!(in >> value)) throw std::runtime_error("malformed /proc/net/dev line: " + line);
    interface.bytesReceived = v[0];
    interface.packetsReceived = v[1];
    interface.bytesSent = v[8];
    interface.packetsSent = v[9];
    return interface;
}

std::int32_t perSecond(std::uint64_t from, std::uint64_t to, double seconds) {
    if (to <= from || seconds <= 0) return 0;
    const double rate = static_cast<double>(to - from) / seconds;
    const double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::min(rate, limit));
}

}  // namespace

NetworkCounters NetworkCounters::parse(std::string_view dev, Clock::time_point taken) {
    NetworkCounters counters;
    counters.taken = taken;
    std::istringstream in{std::string(dev)};
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos && line.find('|') == std::string::npos)
            counters.entries.push_back(parseLine(line, colon));
    }
    return counters;
}

std::vector<NetworkCounters::Rates> NetworkCounters::rates(const NetworkCounters& earlier,
                                                           const NetworkCounters& later) {
    const double seconds = std::chrono::duration<double>(later.taken - earlier.taken).count();
    return later.since<Rates>(
        earlier, [seconds](const InterfaceCounters& before, const InterfaceCounters& now) {
            return Rates{now.name, perSecond(before.bytesReceived, now.bytesReceived, seconds),
                         perSecond(before.bytesSent, now.bytesSent, seconds),
                         perSecond(before.packetsReceived, now.packetsReceived, seconds),
                         perSecond(before.packetsSent, now.packetsSent, seconds)};
        });
}

}  // namespace nvx4::repository::os
