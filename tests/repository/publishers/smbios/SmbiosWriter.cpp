#include "SmbiosWriter.h"

#include <algorithm>
#include <fstream>

namespace nvx4::test {

namespace {

void putLittle(Bytes& b, std::size_t at, std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) b[at + i] = static_cast<std::uint8_t>(v >> 8 * i);
}

std::uint8_t checksum(const Bytes& b, std::size_t from, std::size_t n) {
    std::uint8_t sum = 0;
    for (std::size_t i = from; i < from + n; ++i) sum = static_cast<std::uint8_t>(sum + b[i]);
    return static_cast<std::uint8_t>(0x100 - sum);
}

}  // namespace

SmbiosWriter& SmbiosWriter::add(std::uint8_t type, std::uint16_t handle, const Fields& fields,
                                const std::vector<std::string>& strings, std::size_t keep) {
    const std::size_t kept = std::min(keep, fields.bytes.size());
    table_.push_back(type);
    table_.push_back(static_cast<std::uint8_t>(4 + kept));
    table_.push_back(static_cast<std::uint8_t>(handle));
    table_.push_back(static_cast<std::uint8_t>(handle >> 8));
    table_.insert(table_.end(), fields.bytes.begin(), fields.bytes.begin() + kept);
    for (const std::string& s : strings) {
        table_.insert(table_.end(), s.begin(), s.end());
        table_.push_back(0);
    }
    if (strings.empty()) table_.push_back(0);
    table_.push_back(0);
    ++count_;
    return *this;
}

SmbiosWriter& SmbiosWriter::raw(const Bytes& bytes) {
    table_.insert(table_.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes SmbiosWriter::table(bool withEnd) const {
    Bytes t = table_;
    if (withEnd) t.insert(t.end(), {127, 4, 0xFE, 0xFF, 0, 0});
    return t;
}

Bytes SmbiosWriter::entryPoint(Anchor anchor, int major, int minor, std::size_t tableLength,
                               std::size_t count, std::uint64_t address) {
    if (anchor == Anchor::V3) {
        Bytes ep(0x18, 0);
        std::copy_n("_SM3_", 5, ep.begin());
        ep[6] = 0x18;
        ep[7] = static_cast<std::uint8_t>(major);
        ep[8] = static_cast<std::uint8_t>(minor);
        ep[0x0A] = 1;
        putLittle(ep, 0x0C, tableLength, 4);
        putLittle(ep, 0x10, address, 8);
        ep[5] = checksum(ep, 0, 0x18);
        return ep;
    }
    // The bare _DMI_ entry point of 2.0, which the _SM_ one of 2.1 and later ends with.
    Bytes dmi(0x0F, 0);
    std::copy_n("_DMI_", 5, dmi.begin());
    putLittle(dmi, 0x06, tableLength, 2);
    putLittle(dmi, 0x08, address, 4);
    putLittle(dmi, 0x0C, count, 2);
    dmi[0x0E] = static_cast<std::uint8_t>(major << 4 | (minor & 0x0F));
    dmi[5] = checksum(dmi, 0, 0x0F);
    if (anchor == Anchor::Legacy) return dmi;
    Bytes ep(0x10, 0);
    std::copy_n("_SM_", 4, ep.begin());
    ep[5] = 0x1F;
    ep[6] = static_cast<std::uint8_t>(major);
    ep[7] = static_cast<std::uint8_t>(minor);
    putLittle(ep, 0x08, 0x100, 2);
    ep.insert(ep.end(), dmi.begin(), dmi.end());
    ep[4] = checksum(ep, 0, 0x1F);
    return ep;
}

Bytes SmbiosWriter::dump(Anchor anchor, int major, int minor) const {
    const Bytes t = table();
    Bytes d = entryPoint(anchor, major, minor, t.size(), count_ + 1, 0x20);
    d.resize(0x20, 0);
    d.insert(d.end(), t.begin(), t.end());
    return d;
}

void SmbiosWriter::save(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace nvx4::test
