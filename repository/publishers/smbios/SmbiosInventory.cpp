// BIOS, system product, baseboards, processors, caches, port connectors, slots, onboard devices
// and hardware security: SMBIOS types 0, 1, 2, 4, 7, 8, 9, 10, 41 and 24.
#include <cctype>

#include "SmbiosClasses.h"
#include "SmbiosInstance.h"
#include "SmbiosTexts.h"

namespace nvx4::repository::smbios {

namespace {

using Texts = SmbiosTexts;

bool digits(const std::string& text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

std::optional<std::int64_t> processorFamily(const SmbiosStructure& s) {
    const std::optional<std::uint8_t> family = s.byte(0x06);
    // 0xFE: the family is in the wider field of 2.6 and later.
    if (family == 0xFE && s.word(0x28)) return *s.word(0x28);
    return widen(family);
}

// KB from a cache size: bit 15 (31 for the 32-bit form) selects 64 KB granularity. A size
// beyond the class's 32-bit integer has no value.
std::optional<std::int64_t> cacheKilobytes(const SmbiosStructure& s) {
    if (const std::optional<std::uint32_t> size2 = s.dword(0x17)) {
        const std::int64_t units = *size2 & 0x7FFFFFFF;
        const std::int64_t kb = (*size2 & 0x80000000) ? units * 64 : units;
        return kb <= 0x7FFFFFFF ? std::optional(kb) : std::nullopt;
    }
    const std::optional<std::uint16_t> size = s.word(0x09);
    if (!size) return std::nullopt;
    const std::int64_t units = *size & 0x7FFF;
    return (*size & 0x8000) ? units * 64 : units;
}

// The socket designations of the processors whose cache handles name this cache.
std::optional<std::string> cacheOwners(const SmbiosTable& table, std::uint16_t cache) {
    std::optional<std::string> owners;
    for (const SmbiosStructure* cpu : table.ofType(4))
        for (std::size_t offset : {0x1A, 0x1C, 0x1E})
            if (cpu->word(offset) == cache) {
                const std::string name = cpu->string(0x04).value_or("");
                owners = owners ? *owners + ", " + name : name;
                break;
            }
    return owners;
}

}  // namespace

std::string releaseDate(const std::string& text) {
    const bool shortYear = text.size() == 8 && digits(text, 6, 2);
    const bool longYear = text.size() == 10 && digits(text, 6, 4);
    if (!(shortYear || longYear) || !digits(text, 0, 2) || text[2] != '/' || !digits(text, 3, 2) ||
        text[5] != '/')
        return text;
    const int month = std::stoi(text.substr(0, 2));
    const int day = std::stoi(text.substr(3, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31) return text;
    const std::string year = shortYear ? "19" + text.substr(6, 2) : text.substr(6, 4);
    return year + text.substr(0, 2) + text.substr(3, 2) + "000000.000000+000";
}

Instances publishBios(const SmbiosTable& table) {
    return eachOfType(table, 0, [](const SmbiosStructure& s, SmbiosInstance& out) {
        const std::optional<std::string> date = s.string(0x08);
        out.text(L"Version", s.string(0x05))
            .text(L"ReleaseDate", date ? std::optional(releaseDate(*date)) : std::nullopt)
            .text(L"Manufacturer", s.string(0x04));
    });
}

Instances publishSystemProduct(const SmbiosTable& table) {
    return eachOfType(table, 1, [](const SmbiosStructure& s, SmbiosInstance& out) {
        out.key(L"IdentifyingNumber", s.string(0x07))
            .key(L"Name", s.string(0x05))
            .key(L"Vendor", s.string(0x04))
            .key(L"Version", s.string(0x06));
    });
}

Instances publishBaseboards(const SmbiosTable& table) {
    return eachOfType(table, 2, [](const SmbiosStructure& s, SmbiosInstance& out) {
        out.integer(L"BoardType", widen(s.byte(0x0D)))
            .text(L"BaseboardID", s.string(0x05))
            .text(L"SerialNumber", s.string(0x07))
            .text(L"Version", s.string(0x06));
    });
}

Instances publishProcessors(const SmbiosTable& table) {
    return eachOfType(table, 4, [](const SmbiosStructure& s, SmbiosInstance& out) {
        const std::optional<std::uint8_t> status = s.byte(0x18);
        out.text(L"ProcessorManufacturer", s.string(0x07))
            .text(L"SocketDesignation", s.string(0x04))
            .text(L"SocketStatus", status ? std::optional<std::string>(
                                                (*status & 0x40) ? "Populated" : "Unpopulated")
                                          : std::nullopt)
            .text(L"ProcessorStatus",
                  status ? Texts::lookup(Texts::kProcessorStatus, *status & 0x07) : std::nullopt)
            .text(L"ProcessorVersion", s.string(0x10))
            .text(L"SerialNumber", s.string(0x20))
            .text(L"PartNumber", s.string(0x22))
            .integer(L"ProcessorFamily", processorFamily(s))
            .integer(L"MaxSpeed", speed(s.word(0x14)))
            .integer(L"ExtClock", speed(s.word(0x12)))
            .integer(L"CurrentClockSpeed", speed(s.word(0x16)));
    });
}

Instances publishCaches(const SmbiosTable& table) {
    return eachOfType(table, 7, [&table](const SmbiosStructure& s, SmbiosInstance& out) {
        const std::optional<std::uint16_t> config = s.word(0x05);
        if (config)
            out.text(L"CacheLevel", "Level " + std::to_string((*config & 0x07) + 1))
                .text(L"Location", Texts::lookup(Texts::kCacheLocation, (*config >> 5) & 0x03));
        out.text(L"ProcessorNumber", cacheOwners(table, s.handle()))
            .integer(L"CacheSize", cacheKilobytes(s));
    });
}

Instances publishPortConnectors(const SmbiosTable& table) {
    return eachOfType(table, 8, [](const SmbiosStructure& s, SmbiosInstance& out) {
        // The external side where there is one, else the internal side.
        const std::optional<std::string> external = s.string(0x06);
        const std::optional<std::uint8_t> externalType = s.byte(0x07);
        out.text(L"Port", external ? external : s.string(0x04))
            .integer(L"ConnectorType",
                     widen(externalType.value_or(0) != 0 ? externalType : s.byte(0x05)))
            .integer(L"PortType", widen(s.byte(0x08)));
    });
}

Instances publishSlots(const SmbiosTable& table) {
    return eachOfType(table, 9, [](const SmbiosStructure& s, SmbiosInstance& out) {
        std::optional<std::string> characteristics;
        if (const std::optional<std::uint8_t> first = s.byte(0x0B)) {
            // Bit 0 says the characteristics are unknown; the others then mean nothing.
            const std::uint64_t bits = *first | std::uint64_t{s.byte(0x0C).value_or(0)} << 8;
            characteristics = Texts::bits(Texts::kSlotCharacteristics, bits & 1 ? 1 : bits);
        }
        out.integer(L"SlotType", widen(s.byte(0x05)))
            .integer(L"SlotLength", widen(s.byte(0x08)))
            .integer(L"CurrentUsage", widen(s.byte(0x07)))
            .integer(L"SlotDataBusWidth", widen(s.byte(0x06)))
            .text(L"SlotNumber", s.string(0x04))
            .text(L"PCISlotCharacter", characteristics);
    });
}

Instances publishOnboardDevices(const SmbiosTable& table) {
    Instances instances;
    auto add = [&instances](const SmbiosStructure& s, std::int64_t sub,
                            std::optional<std::uint8_t> type,
                            std::optional<std::string> description) {
        SmbiosInstance out = withHandle(s);
        out.integer(L"SubHandle", sub)
            .text(L"DeviceType",
                  type ? Texts::lookup(Texts::kOnboardDeviceType, *type & 0x7F, 1) : std::nullopt)
            .text(L"Description", description);
        instances.push_back(std::move(out.values));
    };
    for (const SmbiosStructure& s : table.structures()) {
        if (s.type() == 10) {
            // One device per byte pair after the header.
            for (std::size_t i = 0; 4 + 2 * i + 1 < s.length(); ++i)
                add(s, static_cast<std::int64_t>(i + 1), s.byte(4 + 2 * i), s.string(5 + 2 * i));
        } else if (s.type() == 41) {
            add(s, 1, s.byte(0x05), s.string(0x04));
        }
    }
    return instances;
}

Instances publishHardwareSecurity(const SmbiosTable& table) {
    return eachOfType(table, 24, [](const SmbiosStructure& s, SmbiosInstance& out) {
        if (const std::optional<std::uint8_t> settings = s.byte(0x04))
            out.text(L"PowerOnPasswdStatus", Texts::lookup(Texts::kSecurityStatus, *settings >> 6))
                .text(L"KeyboardPasswdStatus",
                      Texts::lookup(Texts::kSecurityStatus, (*settings >> 4) & 0x03));
    });
}

}  // namespace nvx4::repository::smbios
