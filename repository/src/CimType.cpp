#include "nvx4/repository/CimType.h"

#include <cctype>

namespace nvx4::repository {

namespace {

struct Keyword {
    const char* text;
    CimType type;
};

constexpr Keyword kKeywords[] = {
    {"sint8", CimType::Sint8},       {"uint8", CimType::Uint8},     {"sint16", CimType::Sint16},
    {"uint16", CimType::Uint16},     {"sint32", CimType::Sint32},   {"uint32", CimType::Uint32},
    {"sint64", CimType::Sint64},     {"uint64", CimType::Uint64},   {"real32", CimType::Real32},
    {"real64", CimType::Real64},     {"boolean", CimType::Boolean}, {"string", CimType::String},
    {"datetime", CimType::Datetime}, {"char16", CimType::Char16},
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

}  // namespace

std::string ValueType::name() const { return std::string(keyword(base)) + (array ? "[]" : ""); }

std::optional<CimType> ValueType::fromKeyword(std::string_view text) {
    for (const Keyword& entry : kKeywords)
        if (equalsIgnoringCase(text, entry.text)) return entry.type;
    return std::nullopt;
}

const char* ValueType::keyword(CimType type) {
    for (const Keyword& entry : kKeywords)
        if (entry.type == type) return entry.text;
    return "unknown";
}

}  // namespace nvx4::repository
