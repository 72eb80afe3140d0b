#include "IpmiFormat.h"

#include <cstdio>

namespace nvx4::repository {

std::uint32_t IpmiFormat::little(const Bytes& bytes, std::size_t offset, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | at(bytes, offset + i);
    return value;
}

std::uint8_t IpmiFormat::at(const Bytes& bytes, std::size_t offset) {
    return offset < bytes.size() ? bytes[offset] : 0;
}

std::string IpmiFormat::hex(const Bytes& bytes) {
    std::string text = "0x";
    char digits[3];
    for (std::uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

std::string IpmiFormat::hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", digits, value);
    return text;
}

std::string IpmiFormat::cimDateTime(std::time_t seconds) {
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.000000+000", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string IpmiFormat::bcdVersion(std::uint8_t value) {
    return std::to_string(value & 0x0f) + "." + std::to_string(value >> 4);
}

}  // namespace nvx4::repository
