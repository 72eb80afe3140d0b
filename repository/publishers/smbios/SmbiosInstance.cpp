#include "SmbiosInstance.h"

namespace nvx4::repository::smbios {

SmbiosInstance& SmbiosInstance::text(const wchar_t* name, const std::optional<std::string>& value) {
    if (value) values.emplace_back(name, Value::text(std::string_view(*value)));
    return *this;
}

SmbiosInstance& SmbiosInstance::integer(const wchar_t* name,
                                        const std::optional<std::int64_t>& value) {
    if (value) values.emplace_back(name, Value::integer(*value));
    return *this;
}

SmbiosInstance& SmbiosInstance::real(const wchar_t* name, const std::optional<double>& value) {
    if (value) values.emplace_back(name, Value::real(*value));
    return *this;
}

SmbiosInstance& SmbiosInstance::boolean(const wchar_t* name, const std::optional<bool>& value) {
    if (value) values.emplace_back(name, Value::boolean(*value));
    return *this;
}

}  // namespace nvx4::repository::smbios
