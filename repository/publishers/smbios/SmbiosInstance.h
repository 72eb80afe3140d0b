// The property values of one published instance. A value that the structure does not hold
// (std::nullopt) is left out, so the property stays NULL.
#ifndef NVX4_SMBIOS_INSTANCE_H
#define NVX4_SMBIOS_INSTANCE_H

#include <cstdint>
#include <optional>
#include <string>

#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository::smbios {

class SmbiosInstance {
  public:
    SmbiosInstance& text(const wchar_t* name, const std::optional<std::string>& value);
    SmbiosInstance& integer(const wchar_t* name, const std::optional<std::int64_t>& value);
    SmbiosInstance& real(const wchar_t* name, const std::optional<double>& value);
    SmbiosInstance& boolean(const wchar_t* name, const std::optional<bool>& value);
    // For key properties, which must have a value: a missing text is the empty text.
    SmbiosInstance& key(const wchar_t* name, const std::optional<std::string>& value) {
        return text(name, value.value_or(std::string()));
    }

    PropertyValues values;
};

}  // namespace nvx4::repository::smbios

#endif
