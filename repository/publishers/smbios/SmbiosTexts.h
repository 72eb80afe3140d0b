// The texts of the enumerated SMBIOS values that the classes publish as text, and the bit lists
// some fields hold. A value the table does not know has no text (NULL), never a guess.
#ifndef NVX4_SMBIOS_TEXTS_H
#define NVX4_SMBIOS_TEXTS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nvx4::repository::smbios {

class SmbiosTexts {
  public:
    using Names = std::vector<const char*>;

    // names[value - first]; nullopt outside the table or for a null entry (a reserved value).
    static std::optional<std::string> lookup(const Names& names, std::uint64_t value,
                                             std::uint64_t first = 0);
    // The names of the set bits, lowest first, joined by ", "; "None" when no named bit is set.
    static std::string bits(const Names& names, std::uint64_t value);

    static const Names kProcessorStatus;       // type 4, status bits 0-2
    static const Names kLogAccessMethod;       // type 15
    static const Names kLogType;               // type 15 descriptors, from 1
    static const Names kLogDataFormat;         // type 15 descriptors
    static const Names kErrorCorrection;       // type 16, from 1
    static const Names kCacheLocation;         // type 7 configuration bits 5-6
    static const Names kSlotCharacteristics;   // type 9, first byte then second byte
    static const Names kOnboardDeviceType;     // types 10 and 41, from 1
    static const Names kSecurityStatus;        // type 24, two bits each
    static const Names kDeviceStatus;          // types 26-28, status bits 5-7, from 1
    static const Names kControllerSpeeds;      // type 5 supported speeds
    static const Names kModuleTypes;           // types 5 and 6 memory type bits
    static const Names kCorrectingCapability;  // type 5 error-correcting bits
};

}  // namespace nvx4::repository::smbios

#endif
