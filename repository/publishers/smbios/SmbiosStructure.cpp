#include "SmbiosStructure.h"

namespace nvx4::repository::smbios {

SmbiosStructure::SmbiosStructure(std::vector<std::uint8_t> formatted,
                                 std::vector<std::string> strings)
    : formatted_(std::move(formatted)), strings_(std::move(strings)) {}

std::optional<std::string> SmbiosStructure::string(std::size_t offset) const {
    const std::optional<std::uint8_t> index = byte(offset);
    if (!index) return std::nullopt;
    return stringAt(*index);
}

std::optional<std::string> SmbiosStructure::stringAt(std::size_t index) const {
    if (index == 0 || index > strings_.size()) return std::nullopt;
    return strings_[index - 1];
}

}  // namespace nvx4::repository::smbios
