#include "SensorRecord.h"

#include <cmath>

#include "IpmiFormat.h"

namespace nvx4::repository {

namespace {

// A two's-complement number of `bits` bits.
int signedBits(unsigned value, int bits) {
    const unsigned sign = 1u << (bits - 1);
    return static_cast<int>(value & (sign - 1)) - static_cast<int>(value & sign);
}

std::string idString(const Bytes& record, std::size_t at) {
    const std::uint8_t typeLength = IpmiFormat::at(record, at);
    std::string name;
    for (std::size_t i = 0; i < (typeLength & 0x1fu) && at + 1 + i < record.size(); ++i)
        name += static_cast<char>(record[at + 1 + i]);
    return name.substr(0, name.find('\0'));
}

double linearize(std::uint8_t linearization, double x) {
    switch (linearization) {
        case 1:
            return std::log(x);
        case 2:
            return std::log10(x);
        case 3:
            return std::log2(x);
        case 4:
            return std::exp(x);
        case 5:
            return std::pow(10.0, x);
        case 6:
            return std::exp2(x);
        case 7:
            return 1.0 / x;
        case 8:
            return x * x;
        case 9:
            return x * x * x;
        case 10:
            return std::sqrt(x);
        case 11:
            return std::cbrt(x);
        default:
            return x;
    }
}

}  // namespace

std::optional<SensorRecord> SensorRecord::parse(const Bytes& r) {
    if (r.size() < 5) return std::nullopt;
    SensorRecord s;
    s.recordType = r[3];
    if ((s.recordType != 1 && s.recordType != 2) || r.size() < 32) return std::nullopt;
    s.owner = r[5];
    s.lun = r[6] & 0x03;
    s.number = r[7];
    s.entityId = r[8];
    s.entityInstance = r[9] & 0x7f;
    s.sensorType = r[12];
    s.readingType = r[13];
    s.rateUnit = (r[20] >> 3) & 0x07;
    s.modifierUse = (r[20] >> 1) & 0x03;
    s.baseUnit = r[21];
    s.modifierUnit = r[22];
    if (s.recordType == 2) {
        s.positiveHysteresis = r[25];
        s.negativeHysteresis = r[26];
        s.name = idString(r, 31);
        return s;
    }
    if (r.size() < 48) return std::nullopt;
    s.analogFormat = r[20] >> 6;
    s.linearization = r[23] & 0x7f;
    s.m = signedBits(r[24] | ((r[25] & 0xc0u) << 2), 10);
    s.tolerance = r[25] & 0x3f;
    s.b = signedBits(r[26] | ((r[27] & 0xc0u) << 2), 10);
    s.accuracy = (r[27] & 0x3f) | ((r[28] & 0xf0) << 2);
    s.accuracyExponent = (r[28] >> 2) & 0x03;
    s.k2 = signedBits(r[29] >> 4, 4);
    s.k1 = signedBits(r[29] & 0x0fu, 4);
    s.analogFlags = r[30];
    s.nominal = r[31];
    s.normalMax = r[32];
    s.normalMin = r[33];
    s.maxReading = r[34];
    s.minReading = r[35];
    s.positiveHysteresis = r[42];
    s.negativeHysteresis = r[43];
    s.name = idString(r, 47);
    return s;
}

double SensorRecord::convert(std::uint8_t raw) const {
    int x = raw;
    if (analogFormat == 1) x = (raw & 0x80) ? -static_cast<int>(~raw & 0x7f) : raw;
    if (analogFormat == 2) x = static_cast<std::int8_t>(raw);
    const double y = (m * static_cast<double>(x) + b * std::pow(10.0, k1)) * std::pow(10.0, k2);
    return linearize(linearization, y);
}

double SensorRecord::difference(std::uint8_t raw) const {
    return m * static_cast<double>(raw) * std::pow(10.0, k2);
}

std::string SensorRecord::key() const {
    return std::to_string(owner) + "." + std::to_string(lun) + "." + std::to_string(number);
}

}  // namespace nvx4::repository
