// Byte and packet counters of each network interface from /proc/net/dev, and the rates per second
// between two readings.
#ifndef NVX4_REPOSITORY_OS_NETWORKCOUNTERS_H
#define NVX4_REPOSITORY_OS_NETWORKCOUNTERS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CounterReading.h"

namespace nvx4::repository::os {

struct InterfaceCounters {
    std::string name;
    std::uint64_t bytesReceived = 0, packetsReceived = 0, bytesSent = 0, packetsSent = 0;
};

class NetworkCounters : public CounterReading<InterfaceCounters> {
  public:
    struct Rates {
        std::string name;
        std::int32_t bytesReceived, bytesSent, packetsReceived, packetsSent;
    };

    // Throws std::runtime_error for a malformed interface line.
    static NetworkCounters parse(std::string_view dev, Clock::time_point taken);
    // Per second, for each interface present in both readings, in the order of `later`; a
    // counter that went back (reset) counts as no traffic; rates beyond the 32-bit range are cut
    // to its maximum.
    static std::vector<Rates> rates(const NetworkCounters& earlier, const NetworkCounters& later);
};

}  // namespace nvx4::repository::os

#endif
