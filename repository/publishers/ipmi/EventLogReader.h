// The system event log: Get SEL Info, Get SEL Time and Get SEL Entry, as instances of the SEL
// class and its record classes.
#ifndef NVX4_REPOSITORY_EVENTLOGREADER_H
#define NVX4_REPOSITORY_EVENTLOGREADER_H

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "IpmiConnection.h"
#include "SensorRecord.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

using SelEntry = std::array<std::uint8_t, 16>;

// Turns SEL times into the host's time. Times up to 0x20000000 count seconds since the BMC
// started (its clock was never set); they are placed relative to the BMC's clock now.
class SelClock {
  public:
    // SEL times up to this one count seconds since the BMC started; later ones are absolute.
    static constexpr std::uint32_t kLastRelative = 0x20000000;
    static constexpr std::uint32_t kUnspecified = 0xffffffff;

    SelClock(std::uint32_t bmcNow, std::time_t hostNow) : bmcNow_(bmcNow), hostNow_(hostNow) {}
    // nullopt for "unspecified" (0xffffffff) and for relative times under an absolute clock.
    std::optional<std::time_t> toHost(std::uint32_t selTime) const;
    std::uint32_t bmcNow() const { return bmcNow_; }

  private:
    std::uint32_t bmcNow_;
    std::time_t hostNow_;
};

class EventLogReader {
  public:
    static constexpr char kLogName[] = "SEL";

    explicit EventLogReader(IpmiConnection& connection) : connection_(connection) {}

    Bytes info();
    SelClock clock();
    // Every entry, oldest first.
    std::vector<SelEntry> entries();

    static PropertyValues log(const Bytes& info, const SelClock& clock,
                              const std::string& systemName);
    static PropertyValues record(const SelEntry& entry, const SelClock& clock,
                                 const std::vector<SensorRecord>& sensors,
                                 const std::string& systemName);
    // The severity of an entry: 2 information, 3 warning, 6 critical, 7 fatal, 0 unknown.
    static int severity(const SelEntry& entry);

  private:
    IpmiConnection& connection_;
};

}  // namespace nvx4::repository

#endif
