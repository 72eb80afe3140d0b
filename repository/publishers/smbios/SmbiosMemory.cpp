// Memory controllers and modules (types 5 and 6, of tables before 2.1), physical memory arrays
// (type 16) and memory devices (type 17). Sizes are published in bytes, except where the class
// counts in kilobytes or megabytes as the equivalent Windows classes do.
#include <limits>

#include "SmbiosClasses.h"
#include "SmbiosTexts.h"

namespace nvx4::repository::smbios {

namespace {

using Texts = SmbiosTexts;

constexpr std::uint64_t kMegabyte = 1024 * 1024;

std::optional<std::int64_t> fitting(std::optional<std::uint64_t> value) {
    if (!value || *value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int64_t>(*value);
}

std::optional<std::string> decimal(std::optional<std::uint64_t> value) {
    if (!value) return std::nullopt;
    return std::to_string(*value);
}

// Type 6 size byte: 2^n MB; 0x7D not determinable; 0x7E installed but not enabled; 0x7F not
// installed. Bit 7 (double-bank) does not change the size.
std::optional<std::uint64_t> moduleBytes(std::optional<std::uint8_t> size) {
    if (!size) return std::nullopt;
    const unsigned n = *size & 0x7F;
    if (n == 0x7D) return std::nullopt;
    if (n == 0x7E || n == 0x7F) return 0;
    if (n + 20 >= 64) return std::nullopt;  // no such module; the bytes would not fit
    return std::uint64_t{1} << n << 20;
}

// Type 17 size: 0 no module; 0xFFFF unknown; 0x7FFF see the 2.7 extended size (MB); bit 15 set
// counts KB, clear MB.
std::optional<std::uint64_t> deviceBytes(const SmbiosStructure& s) {
    const std::optional<std::uint16_t> size = s.word(0x0C);
    if (!size || *size == 0xFFFF) return std::nullopt;
    if (*size == 0x7FFF) {
        const std::optional<std::uint32_t> extended = s.dword(0x1C);
        if (!extended) return std::nullopt;
        return (*extended & 0x7FFFFFFF) * kMegabyte;
    }
    return (*size & 0x8000) ? std::uint64_t{*size & 0x7FFFu} * 1024 : *size * kMegabyte;
}

// Type 17 speed in MT/s: 0 unknown; 0xFFFF see the 3.3 extended speed.
std::optional<std::uint64_t> deviceSpeed(const SmbiosStructure& s) {
    const std::optional<std::uint16_t> speed = s.word(0x15);
    if (!speed || *speed == 0) return std::nullopt;
    if (*speed != 0xFFFF) return *speed;
    const std::optional<std::uint32_t> extended = s.dword(0x54);
    if (!extended || (*extended & 0x7FFFFFFF) == 0) return std::nullopt;
    return *extended & 0x7FFFFFFF;
}

// Type 16 maximum capacity in KB; 0x80000000 see the 2.7 extended capacity (bytes).
std::optional<std::uint64_t> arrayKilobytes(const SmbiosStructure& s) {
    const std::optional<std::uint32_t> capacity = s.dword(0x07);
    if (!capacity) return std::nullopt;
    if (*capacity != 0x80000000) return *capacity;
    const std::optional<std::uint64_t> extended = s.qword(0x0F);
    if (!extended) return std::nullopt;
    return *extended / 1024;
}

// The KB of the memory devices of an array whose sizes are known.
std::uint64_t installedKilobytes(const SmbiosTable& table, std::uint16_t array) {
    std::uint64_t total = 0;
    for (const SmbiosStructure* device : table.ofType(17))
        if (device->word(0x04) == array) total += deviceBytes(*device).value_or(0) / 1024;
    return total;
}

}  // namespace

Instances publishMemoryControllers(const SmbiosTable& table) {
    return eachOfType(table, 5, [](const SmbiosStructure& s, SmbiosInstance& out) {
        const std::optional<std::uint8_t> largest = s.byte(0x08);
        const std::optional<std::uint16_t> speeds = s.word(0x09);
        const std::optional<std::uint16_t> types = s.word(0x0B);
        const std::optional<std::uint8_t> correcting = s.byte(0x05);
        out.integer(L"MaxMemModuleSize", largest && *largest < 31
                                             ? std::optional<std::int64_t>(1LL << *largest)
                                             : std::nullopt)
            .text(L"SupportedSpeed",
                  speeds ? std::optional(Texts::bits(Texts::kControllerSpeeds, *speeds))
                         : std::nullopt)
            .text(L"SupportedMemType",
                  types ? std::optional(Texts::bits(Texts::kModuleTypes, *types)) : std::nullopt)
            .integer(L"NumOfAssociateMemSlot", widen(s.byte(0x0E)))
            .integer(L"ErrorDetectingMethod", widen(s.byte(0x04)))
            .text(L"ErrorCorrectingCapability",
                  correcting ? std::optional(Texts::bits(Texts::kCorrectingCapability, *correcting))
                             : std::nullopt)
            .integer(L"CurrentInterleave", widen(s.byte(0x07)));
    });
}

Instances publishMemoryModules(const SmbiosTable& table) {
    return eachOfType(table, 6, [](const SmbiosStructure& s, SmbiosInstance& out) {
        const std::optional<std::uint16_t> types = s.word(0x07);
        out.text(L"MemoryType",
                 types ? std::optional(Texts::bits(Texts::kModuleTypes, *types)) : std::nullopt)
            .text(L"MemorySpeed", decimal(widen(speed(s.byte(0x06)))))
            .text(L"InstalledSize", decimal(moduleBytes(s.byte(0x09))))
            .text(L"EnabledSize", decimal(moduleBytes(s.byte(0x0A))))
            .text(L"SlotNumber", s.string(0x04));
    });
}

Instances publishMemoryArrays(const SmbiosTable& table) {
    return eachOfType(table, 16, [&table](const SmbiosStructure& s, SmbiosInstance& out) {
        const std::optional<std::uint8_t> correction = s.byte(0x06);
        out.text(L"MemoryErrorCorrection",
                 correction ? Texts::lookup(Texts::kErrorCorrection, *correction, 1) : std::nullopt)
            .integer(L"TotalInstalledMemory", fitting(installedKilobytes(table, s.handle())))
            .integer(L"NumberOfMemoryDevice", widen(s.word(0x0D)))
            .integer(L"MemoryArrayUse", widen(s.byte(0x05)))
            .integer(L"Location", widen(s.byte(0x04)))
            .integer(L"MaximumCapacity", fitting(arrayKilobytes(s)))
            .text(L"Description", std::string("Physical Memory Array"));
    });
}

Instances publishMemoryDevices(const SmbiosTable& table) {
    return eachOfType(table, 17, [](const SmbiosStructure& s, SmbiosInstance& out) {
        const std::optional<std::string> size = decimal(deviceBytes(s));
        out.text(L"Size", size)
            .integer(L"MemoryType", widen(s.byte(0x12)))
            .text(L"BusSpeed", decimal(deviceSpeed(s)))
            .integer(L"MemoryArrayHandle", widen(s.word(0x04)))
            .text(L"Description", s.string(0x10))
            .text(L"InstalledSize", size)
            .text(L"EnabledSize", size);
    });
}

}  // namespace nvx4::repository::smbios
