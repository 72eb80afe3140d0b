// Builds SMBIOS tables and dump files for the tests: structures from little-endian fields and
// strings, a 2.x (_SM_) or 3.x (_SM3_) entry point with correct checksums, the table at offset
// 0x20 of the dump as the binary dump format has it.
#ifndef NVX4_TEST_SMBIOS_WRITER_H
#define NVX4_TEST_SMBIOS_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace nvx4::test {

using Bytes = std::vector<std::uint8_t>;

// The formatted fields after a structure's four-byte header.
class Fields {
  public:
    Fields& byte(std::uint64_t v) { return put(v, 1); }
    Fields& word(std::uint64_t v) { return put(v, 2); }
    Fields& dword(std::uint64_t v) { return put(v, 4); }
    Fields& qword(std::uint64_t v) { return put(v, 8); }
    Fields& zeros(std::size_t n) { return put(0, n); }
    Bytes bytes;

  private:
    Fields& put(std::uint64_t v, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> 8 * i));
        return *this;
    }
};

class SmbiosWriter {
  public:
    enum class Anchor { V2, V3 };

    // A structure; `keep` cuts the formatted fields to that many bytes (a shorter structure,
    // with its length byte saying so).
    SmbiosWriter& add(std::uint8_t type, std::uint16_t handle, const Fields& fields,
                      const std::vector<std::string>& strings = {}, std::size_t keep = SIZE_MAX);
    // Raw bytes appended to the table as they are (a broken structure).
    SmbiosWriter& raw(const Bytes& bytes);

    // The table with an end-of-table structure unless `withEnd` is false.
    Bytes table(bool withEnd = true) const;
    // Entry point at 0, table at 0x20.
    Bytes dump(Anchor anchor, int major, int minor, bool withEnd = true) const;
    static Bytes entryPoint(Anchor anchor, int major, int minor, std::size_t tableLength,
                            std::size_t count, std::uint64_t address);
    static void save(const std::string& path, const Bytes& bytes);

  private:
    Bytes table_;
    std::size_t count_ = 0;
};

}  // namespace nvx4::test

#endif
