// One structure of an SMBIOS table: its header, its formatted area and its strings. Every field
// read is bounded by what the structure holds: a field beyond its formatted area (an older or a
// shorter structure) and a string index of 0 or beyond its strings read as no value.
#ifndef NVX4_SMBIOS_STRUCTURE_H
#define NVX4_SMBIOS_STRUCTURE_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nvx4::repository::smbios {

class SmbiosStructure {
  public:
    SmbiosStructure(std::vector<std::uint8_t> formatted, std::vector<std::string> strings);

    std::uint8_t type() const { return formatted_[0]; }
    std::uint16_t handle() const { return *word(2); }
    // The formatted area's length, header included.
    std::size_t length() const { return formatted_.size(); }

    // Little-endian fields at an offset of the formatted area.
    std::optional<std::uint8_t> byte(std::size_t offset) const {
        return number<std::uint8_t>(offset);
    }
    std::optional<std::uint16_t> word(std::size_t offset) const {
        return number<std::uint16_t>(offset);
    }
    std::optional<std::uint32_t> dword(std::size_t offset) const {
        return number<std::uint32_t>(offset);
    }
    std::optional<std::uint64_t> qword(std::size_t offset) const {
        return number<std::uint64_t>(offset);
    }
    // The string whose index is the byte at `offset`.
    std::optional<std::string> string(std::size_t offset) const;
    // The string of a 1-based index.
    std::optional<std::string> stringAt(std::size_t index) const;

  private:
    template <typename T>
    std::optional<T> number(std::size_t offset) const {
        if (offset > formatted_.size() || formatted_.size() - offset < sizeof(T))
            return std::nullopt;
        std::uint64_t value = 0;
        for (std::size_t i = sizeof(T); i-- > 0;) value = (value << 8) | formatted_[offset + i];
        return static_cast<T>(value);
    }

    std::vector<std::uint8_t> formatted_;
    std::vector<std::string> strings_;
};

}  // namespace nvx4::repository::smbios

#endif
