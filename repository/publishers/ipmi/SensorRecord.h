// A sensor as its sensor data record (SDR) describes it: full records (type 1) and compact
// records (type 2); the conversion of raw readings into units for full records.
#ifndef NVX4_REPOSITORY_SENSORRECORD_H
#define NVX4_REPOSITORY_SENSORRECORD_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "IpmiConnection.h"

namespace nvx4::repository {

struct SensorRecord {
    std::uint8_t recordType = 0;
    std::uint8_t owner = 0, lun = 0, number = 0;
    std::uint8_t entityId = 0, entityInstance = 0;
    std::uint8_t sensorType = 0, readingType = 0;
    std::string name;
    // Units: rate (bits 5:3 of units 1), modifier use (bits 2:1), base and modifier unit codes.
    std::uint8_t rateUnit = 0, modifierUse = 0, baseUnit = 0, modifierUnit = 0;
    // Full records only.
    std::uint8_t analogFormat = 3, linearization = 0;
    int m = 1, b = 0, k1 = 0, k2 = 0;
    int tolerance = 0, accuracy = 0, accuracyExponent = 0;
    std::uint8_t analogFlags = 0, nominal = 0, normalMax = 0, normalMin = 0;
    std::uint8_t maxReading = 0, minReading = 0;
    std::uint8_t positiveHysteresis = 0, negativeHysteresis = 0;

    // A threshold sensor whose readings convert to units: the numeric class.
    bool numeric() const { return recordType == 1 && readingType == 1 && analogFormat != 3; }
    // Parses a whole record (header included); nullopt for records that describe no sensor
    // readable by Get Sensor Reading.
    static std::optional<SensorRecord> parse(const Bytes& record);
    // y = L[(M x + B 10^K1) 10^K2] for a raw value in the record's analog format.
    double convert(std::uint8_t raw) const;
    // A hysteresis is a difference of raw counts: M x 10^K2, without offset.
    double difference(std::uint8_t raw) const;
    // "owner.lun.number": the sensor's key.
    std::string key() const;
};

}  // namespace nvx4::repository

#endif
