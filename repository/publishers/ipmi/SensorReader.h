// Sensors: the SDR repository (Get SDR Repository Info, Reserve SDR Repository, Get SDR) and
// each sensor's state (Get Sensor Reading, Get Sensor Thresholds), as instances of the numeric
// (threshold) and discrete sensor classes.
#ifndef NVX4_REPOSITORY_SENSORREADER_H
#define NVX4_REPOSITORY_SENSORREADER_H

#include <string>
#include <vector>

#include "IpmiConnection.h"
#include "SensorRecord.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

class SensorReader {
  public:
    explicit SensorReader(IpmiConnection& connection) : connection_(connection) {}

    // What changes whenever the repository does: its counts and its last addition and erase
    // times.
    Bytes repositoryStamp();
    // Every sensor record of the repository, in repository order.
    std::vector<SensorRecord> records();
    PropertyValues numeric(const SensorRecord& sensor, const std::string& systemName);
    PropertyValues discrete(const SensorRecord& sensor, const std::string& systemName);

    // The most severe threshold crossed in a Get Sensor Reading status byte: "Normal",
    // "Upper Non-Critical", ..., "Lower Fatal".
    static const char* thresholdState(std::uint8_t bits);

  private:
    Bytes readRecord(std::uint16_t id, std::uint16_t reservation, std::uint16_t& next);
    // The reading's bytes; empty when the sensor has no reading now.
    Bytes reading(const SensorRecord& sensor);

    IpmiConnection& connection_;
};

}  // namespace nvx4::repository

#endif
