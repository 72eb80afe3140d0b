// The CIM data types of properties, parameters and method results. The numbers are those of the
// management service's CIMTYPE, so the platform hands them out unchanged.
#ifndef NVX4_REPOSITORY_CIMTYPE_H
#define NVX4_REPOSITORY_CIMTYPE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nvx4::repository {

enum class CimType : std::int32_t {
    Sint8 = 16,
    Uint8 = 17,
    Sint16 = 2,
    Uint16 = 18,
    Sint32 = 3,
    Uint32 = 19,
    Sint64 = 20,
    Uint64 = 21,
    Real32 = 4,
    Real64 = 5,
    Boolean = 11,
    String = 8,
    Datetime = 101,
    Char16 = 103,
};

// A CIM type, or an array of it.
struct ValueType {
    static constexpr std::int32_t kArrayFlag = 0x2000;

    CimType base = CimType::String;
    bool array = false;

    std::int32_t cimtype() const {
        return static_cast<std::int32_t>(base) | (array ? kArrayFlag : 0);
    }
    bool operator==(const ValueType& other) const {
        return base == other.base && array == other.array;
    }
    bool operator!=(const ValueType& other) const { return !(*this == other); }

    // "sint32", "string[]".
    std::string name() const;
    // The type that a MOF type keyword names ("sint32", case-insensitive), if any.
    static std::optional<CimType> fromKeyword(std::string_view keyword);
    static const char* keyword(CimType type);
};

}  // namespace nvx4::repository

#endif
