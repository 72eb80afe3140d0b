#include "SensorReader.h"

#include <algorithm>
#include <cmath>

#include "IpmiCommands.h"
#include "IpmiFormat.h"

namespace nvx4::repository {

using namespace ipmi_commands;

namespace {

constexpr std::uint16_t kLastRecord = 0xffff;
constexpr std::uint8_t kChunk = 16;  // bytes per Get SDR: small enough for any BMC
constexpr std::uint8_t kReservationCancelled = 0xc5;
constexpr std::size_t kMaxRecords = 4096;
constexpr int kWalkAttempts = 3;

// The class's unit codes are the IPMI ones plus one (0 stays "unknown").
int unitCode(std::uint8_t ipmiUnit) { return ipmiUnit == 0 ? 0 : ipmiUnit + 1; }

const char* modifierText(std::uint8_t use) {
    static const char* const texts[] = {"None", "Divide", "Multiply", "None"};
    return texts[use & 0x03];
}

PropertyValues identity(const SensorRecord& s, const std::string& systemName) {
    return {
        {L"DeviceID", Value::text(s.key())},
        {L"SystemName", Value::text(systemName)},
        {L"Name", Value::text(s.name)},
        {L"SensorType", Value::integer(s.sensorType)},
        {L"OwnerID", Value::integer(s.owner)},
        {L"OwnerLun", Value::integer(s.lun)},
        {L"SensorNumber", Value::integer(s.number)},
        {L"EntityID", Value::integer(s.entityId)},
        {L"EntityInstance", Value::text(std::to_string(s.entityInstance))},
        {L"EventReadingType", Value::integer(s.readingType)},
    };
}

// Unavailable or not scanned: no reading now.
bool readable(const Bytes& reading) {
    return reading.size() >= 2 && (reading[1] & 0x40) != 0 && (reading[1] & 0x20) == 0;
}

}  // namespace

Bytes SensorReader::repositoryStamp() {
    const Bytes info = connection_.request(kGetSdrRepositoryInfo);
    return Bytes(info.begin() + std::min<std::size_t>(1, info.size()),
                 info.begin() + std::min<std::size_t>(13, info.size()));
}

Bytes SensorReader::readRecord(std::uint16_t id, std::uint16_t reservation, std::uint16_t& next) {
    Bytes record;
    std::size_t length = 5;
    while (record.size() < length) {
        const std::uint8_t want =
            static_cast<std::uint8_t>(std::min<std::size_t>(kChunk, length - record.size()));
        const Bytes answer = connection_.request(
            kGetSdr,
            {static_cast<std::uint8_t>(reservation), static_cast<std::uint8_t>(reservation >> 8),
             static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
             static_cast<std::uint8_t>(record.size()), want});
        if (answer.size() < 3)
            throw PublishError(PublishError::kProviderFailure, "Get SDR answer too short");
        next = static_cast<std::uint16_t>(IpmiFormat::little(answer, 0, 2));
        record.insert(record.end(), answer.begin() + 2, answer.end());
        if (length == 5 && record.size() >= 5) length = 5u + record[4];
    }
    return record;
}

std::vector<SensorRecord> SensorReader::records() {
    for (int attempt = 0;; ++attempt) {
        std::vector<SensorRecord> found;
        try {
            std::uint16_t reservation = 0;
            try {
                reservation = static_cast<std::uint16_t>(
                    IpmiFormat::little(connection_.request(kReserveSdrRepository), 0, 2));
            } catch (const IpmiCommandError&) {
                // Reading without a reservation is allowed from offset 0 of every record.
            }
            std::uint16_t id = 0;
            for (std::size_t count = 0; id != kLastRecord && count < kMaxRecords; ++count) {
                std::uint16_t next = kLastRecord;
                if (auto sensor = SensorRecord::parse(readRecord(id, reservation, next)))
                    found.push_back(*sensor);
                if (next == id) break;
                id = next;
            }
            return found;
        } catch (const IpmiCommandError& e) {
            // The repository changed, or another client reserved it: start over.
            if (e.code() != kReservationCancelled || attempt >= kWalkAttempts - 1) throw;
        }
    }
}

Bytes SensorReader::reading(const SensorRecord& sensor) {
    try {
        Bytes answer =
            connection_.request(kGetSensorReading, {sensor.number}, sensor.owner, sensor.lun);
        return readable(answer) ? answer : Bytes();
    } catch (const IpmiCommandError&) {
        return {};  // no such sensor now (not present, not readable)
    }
}

const char* SensorReader::thresholdState(std::uint8_t bits) {
    static const char* const states[] = {"Lower Non-Critical", "Lower Critical", "Lower Fatal",
                                         "Upper Non-Critical", "Upper Critical", "Upper Fatal"};
    static const int bySeverity[] = {5, 2, 4, 1, 3, 0};
    for (int bit : bySeverity)
        if (bits & (1u << bit)) return states[bit];
    return "Normal";
}

PropertyValues SensorReader::numeric(const SensorRecord& s, const std::string& systemName) {
    PropertyValues values = identity(s, systemName);
    auto real = [&](const wchar_t* name, bool known, double value) {
        values.emplace_back(name, known ? Value::real(value) : Value());
    };
    const Bytes now = reading(s);
    values.emplace_back(
        L"CurrentState",
        Value::text(now.empty() ? "Unknown" : thresholdState(IpmiFormat::at(now, 2))));
    real(L"CurrentReading", !now.empty(), now.empty() ? 0 : s.convert(now[0]));
    values.emplace_back(L"RateUnits", Value::integer(s.rateUnit));
    values.emplace_back(L"Tolerance", Value::integer(s.tolerance));
    values.emplace_back(L"IsLinear", Value::boolean(s.linearization == 0));
    values.emplace_back(L"Accuracy",
                        Value::real(s.accuracy * std::pow(10.0, s.accuracyExponent) / 100.0));
    values.emplace_back(L"BaseUnits", Value::integer(unitCode(s.baseUnit)));
    values.emplace_back(L"ModifierUnit",
                        Value::integer(s.modifierUse == 0 ? 0 : unitCode(s.modifierUnit)));
    values.emplace_back(L"Modifier", Value::text(modifierText(s.modifierUse)));
    real(L"NominalReading", s.analogFlags & 0x01, s.convert(s.nominal));
    real(L"NormalMax", s.analogFlags & 0x02, s.convert(s.normalMax));
    real(L"NormalMin", s.analogFlags & 0x04, s.convert(s.normalMin));
    real(L"MaxReadable", true, s.convert(s.maxReading));
    real(L"MinReadable", true, s.convert(s.minReading));
    Bytes limits;
    try {
        limits = connection_.request(kGetSensorThresholds, {s.number}, s.owner, s.lun);
    } catch (const IpmiCommandError&) {
    }
    static const wchar_t* const thresholds[] = {
        L"LowerThresholdNonCritical", L"LowerThresholdCritical", L"LowerThresholdFatal",
        L"UpperThresholdNonCritical", L"UpperThresholdCritical", L"UpperThresholdFatal"};
    const std::uint8_t readableMask = IpmiFormat::at(limits, 0);
    for (int i = 0; i < 6; ++i)
        real(thresholds[i], limits.size() >= 7 && (readableMask & (1u << i)),
             s.convert(IpmiFormat::at(limits, 1 + i)));
    // 0 and 0xff mean "unspecified".
    auto hysteresis = [&](const wchar_t* name, std::uint8_t raw) {
        real(name, raw != 0 && raw != 0xff, s.difference(raw));
    };
    hysteresis(L"PositiveHysteresis", s.positiveHysteresis);
    hysteresis(L"NegativeHysteresis", s.negativeHysteresis);
    return values;
}

PropertyValues SensorReader::discrete(const SensorRecord& s, const std::string& systemName) {
    PropertyValues values = identity(s, systemName);
    const Bytes now = reading(s);
    const std::uint32_t states = IpmiFormat::at(now, 2) | ((IpmiFormat::at(now, 3) & 0x7fu) << 8);
    values.emplace_back(L"CurrentState",
                        Value::text(now.empty() ? "Unknown" : IpmiFormat::hex(states, 4)));
    return values;
}

}  // namespace nvx4::repository
