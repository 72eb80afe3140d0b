// Small conversions shared by the ipmi publisher's readers: little-endian fields, hexadecimal
// and CIM datetime text.
#ifndef NVX4_REPOSITORY_IPMIFORMAT_H
#define NVX4_REPOSITORY_IPMIFORMAT_H

#include <cstdint>
#include <ctime>
#include <string>

#include "IpmiConnection.h"

namespace nvx4::repository {

class IpmiFormat {
  public:
    // The little-endian unsigned number of `size` bytes at `offset`; 0 past the end.
    static std::uint32_t little(const Bytes& bytes, std::size_t offset, std::size_t size);
    // The byte at `offset`, 0 past the end.
    static std::uint8_t at(const Bytes& bytes, std::size_t offset);
    // "0x" and two lower-case hex digits per byte.
    static std::string hex(const Bytes& bytes);
    static std::string hex(std::uint32_t value, int digits);
    // "yyyymmddHHMMSS.000000+000" in UTC.
    static std::string cimDateTime(std::time_t seconds);
    // "1.5" for the BCD byte 0x51 of SDR and SEL versions (low nibble first).
    static std::string bcdVersion(std::uint8_t value);
};

}  // namespace nvx4::repository

#endif
