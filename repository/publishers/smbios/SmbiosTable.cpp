#include "SmbiosTable.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace nvx4::repository::smbios {

namespace {

constexpr std::uint8_t kEndOfTable = 127;
constexpr std::size_t kHeaderLength = 4;

std::uint64_t little(const Bytes& bytes, std::size_t offset, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[offset + i];
    return value;
}

bool startsWith(const Bytes& bytes, const char* anchor) {
    const std::size_t n = std::strlen(anchor);
    return bytes.size() >= n && std::memcmp(bytes.data(), anchor, n) == 0;
}

bool sumsToZero(const Bytes& bytes, std::size_t offset, std::size_t length) {
    std::uint8_t sum = 0;
    for (std::size_t i = offset; i < offset + length; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return sum == 0;
}

}  // namespace

struct SmbiosTable::EntryPoint {
    int major = 0;
    int minor = 0;
    std::uint64_t address = 0;
    std::uint64_t length = 0;
    // Structures the table holds; 0 when the entry point does not say (3.x).
    std::size_t count = 0;
};

SmbiosTable::EntryPoint SmbiosTable::parseEntryPoint(const Bytes& bytes) {
    EntryPoint ep;
    if (startsWith(bytes, "_SM3_")) {
        const std::size_t length = bytes.size() > 6 ? bytes[6] : 0;
        if (length < 0x18 || bytes.size() < length)
            throw std::runtime_error("the SMBIOS 3 entry point is cut off");
        if (!sumsToZero(bytes, 0, length))
            throw std::runtime_error("the SMBIOS 3 entry point's checksum is wrong");
        ep.major = bytes[7];
        ep.minor = bytes[8];
        ep.length = little(bytes, 0x0C, 4);
        ep.address = little(bytes, 0x10, 8);
        return ep;
    }
    if (startsWith(bytes, "_SM_")) {
        // Length 0x1E is a known misreport of 2.1 firmware for the 0x1F-byte structure.
        const std::size_t length = bytes.size() > 5 ? bytes[5] : 0;
        if (length < 0x1E || bytes.size() < std::max<std::size_t>(length, 0x1F))
            throw std::runtime_error("the SMBIOS entry point is cut off");
        if (!sumsToZero(bytes, 0, length) || std::memcmp(&bytes[0x10], "_DMI_", 5) != 0 ||
            !sumsToZero(bytes, 0x10, 0x0F))
            throw std::runtime_error("the SMBIOS entry point's checksum is wrong");
        ep.major = bytes[6];
        ep.minor = bytes[7];
        ep.length = little(bytes, 0x16, 2);
        ep.address = little(bytes, 0x18, 4);
        ep.count = little(bytes, 0x1C, 2);
        return ep;
    }
    if (startsWith(bytes, "_DMI_")) {
        if (bytes.size() < 0x0F) throw std::runtime_error("the DMI entry point is cut off");
        if (!sumsToZero(bytes, 0, 0x0F))
            throw std::runtime_error("the DMI entry point's checksum is wrong");
        ep.major = bytes[0x0E] >> 4;
        ep.minor = bytes[0x0E] & 0x0F;
        ep.length = little(bytes, 0x06, 2);
        ep.address = little(bytes, 0x08, 4);
        ep.count = little(bytes, 0x0C, 2);
        return ep;
    }
    throw std::runtime_error("no SMBIOS entry point (_SM_, _SM3_ or _DMI_)");
}

SmbiosTable SmbiosTable::read(const Bytes& entryPoint, const Bytes& table) {
    const EntryPoint ep = parseEntryPoint(entryPoint);
    SmbiosTable result;
    result.major_ = ep.major;
    result.minor_ = ep.minor;
    result.walk(table.data(), std::min<std::uint64_t>(ep.length, table.size()), ep.count);
    return result;
}

SmbiosTable SmbiosTable::readDump(const Bytes& dump) {
    const EntryPoint ep = parseEntryPoint(dump);
    SmbiosTable result;
    result.major_ = ep.major;
    result.minor_ = ep.minor;
    if (ep.address >= dump.size())
        throw std::runtime_error("the table's offset " + std::to_string(ep.address) +
                                 " lies beyond the end of the file");
    const std::uint64_t available = dump.size() - ep.address;
    result.walk(dump.data() + ep.address, std::min(ep.length, available), ep.count);
    return result;
}

void SmbiosTable::walk(const std::uint8_t* table, std::size_t size, std::size_t count) {
    std::size_t pos = 0;
    while (size - pos >= kHeaderLength && (count == 0 || structures_.size() < count)) {
        const std::size_t length = table[pos + 1];
        if (length < kHeaderLength || length > size - pos) return;
        // The string set ends at the first pair of NULs from the end of the formatted area.
        std::size_t end = pos + length;
        while (end + 1 < size && (table[end] != 0 || table[end + 1] != 0)) ++end;
        if (end + 1 >= size) return;
        std::vector<std::string> strings;
        // An empty string ends the set: it cannot be told from its terminator.
        for (std::size_t at = pos + length; at <= end && table[at] != 0;) {
            const auto* text = reinterpret_cast<const char*>(table + at);
            const std::size_t n = std::strlen(text);  // bounded: table[end] is NUL
            strings.emplace_back(text, n);
            at += n + 1;
        }
        structures_.emplace_back(Bytes(table + pos, table + pos + length), std::move(strings));
        if (table[pos] == kEndOfTable) return;
        pos = end + 2;
    }
}

std::vector<const SmbiosStructure*> SmbiosTable::ofType(std::uint8_t type) const {
    std::vector<const SmbiosStructure*> found;
    for (const SmbiosStructure& s : structures_)
        if (s.type() == type) found.push_back(&s);
    return found;
}

const SmbiosStructure* SmbiosTable::find(std::uint16_t handle) const {
    for (const SmbiosStructure& s : structures_)
        if (s.handle() == handle) return &s;
    return nullptr;
}

}  // namespace nvx4::repository::smbios
