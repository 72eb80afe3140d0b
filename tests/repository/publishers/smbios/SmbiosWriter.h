// Builds SMBIOS tables and dump files for the tests: structures from little-endian fields and
// strings, a 2.x (_SM_) or 3.x (_SM3_) entry point with correct checksums, the table at offset
// 0x20 of the dump as the binary dump format has it (also for a bare 2.0 _DMI_ entry point).
#ifndef NVX4_TEST_SMBIOS_WRITER_H
#define NVX4_TEST_SMBIOS_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace nvx4::test {

using Bytes = std::vector<std::uint8_t>;

// A little-endian field of a structure: a byte, or W(), D(), Q() for 2, 4 and 8 bytes.
struct Field {
    Field(std::uint64_t v, std::size_t n = 1) : value(v), size(n) {}
    std::uint64_t value;
    std::size_t size;
};
inline Field W(std::uint64_t v) { return {v, 2}; }
inline Field D(std::uint64_t v) { return {v, 4}; }
inline Field Q(std::uint64_t v) { return {v, 8}; }

// The formatted fields after a structure's four-byte header.
struct Fields {
    Fields(std::initializer_list<Field> fields) {
        for (const Field& f : fields)
            for (std::size_t i = 0; i < f.size; ++i)
                bytes.push_back(static_cast<std::uint8_t>(f.value >> 8 * i));
    }
    Bytes bytes;
};

class SmbiosWriter {
  public:
    enum class Anchor { V2, V3, Legacy };  // _SM_, _SM3_, the bare _DMI_ of 2.0

    // A structure; `keep` cuts the formatted fields to that many bytes (a shorter structure,
    // with its length byte saying so).
    SmbiosWriter& add(std::uint8_t type, std::uint16_t handle, const Fields& fields,
                      const std::vector<std::string>& strings = {}, std::size_t keep = SIZE_MAX);
    // Raw bytes appended to the table as they are (a broken structure).
    SmbiosWriter& raw(const Bytes& bytes);

    // The table with an end-of-table structure unless `withEnd` is false.
    Bytes table(bool withEnd = true) const;
    // Entry point at 0, table at 0x20.
    Bytes dump(Anchor anchor, int major, int minor) const;
    static Bytes entryPoint(Anchor anchor, int major, int minor, std::size_t tableLength,
                            std::size_t count, std::uint64_t address);
    static void save(const std::string& path, const Bytes& bytes);

  private:
    Bytes table_;
    std::size_t count_ = 0;
};

struct InventoryStrings {
    std::string vendor = "Acme Firmware Inc.";
    std::string product = "Roadrunner 3000";
    std::string serial = "SN-0001";
    std::string version = "1.2.3";
};

// The tests' table (SmbiosFixtures.cpp): a structure of every type of classes 1001-1020, with
// the fields that a table of version major.minor has (later versions' fields left out).
SmbiosWriter inventory(int major, int minor, const InventoryStrings& strings = {});

}  // namespace nvx4::test

#endif
