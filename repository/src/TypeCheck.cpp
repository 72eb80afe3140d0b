#include "nvx4/repository/TypeCheck.h"

#include <cmath>
#include <limits>

namespace nvx4::repository {

namespace {

struct Range {
    std::int64_t low;
    std::uint64_t high;
};

Range rangeOf(CimType type) {
    switch (type) {
        case CimType::Sint8:
            return {-128, 127};
        case CimType::Uint8:
            return {0, 255};
        case CimType::Sint16:
            return {-32768, 32767};
        case CimType::Uint16:
        case CimType::Char16:
            return {0, 65535};
        case CimType::Sint32:
            return {std::numeric_limits<std::int32_t>::min(), 2147483647u};
        case CimType::Uint32:
            return {0, 4294967295u};
        case CimType::Sint64:
            return {std::numeric_limits<std::int64_t>::min(), 9223372036854775807u};
        default:
            return {0, std::numeric_limits<std::uint64_t>::max()};
    }
}

bool inRange(const Value& value, Range range) {
    if (value.kind() == Value::Kind::Signed) {
        const std::int64_t v = value.asSigned();
        return v >= range.low && (v < 0 || static_cast<std::uint64_t>(v) <= range.high);
    }
    return value.asUnsigned() <= range.high;
}

std::int64_t signedOf(const Value& value) {
    return value.kind() == Value::Kind::Signed ? value.asSigned()
                                               : static_cast<std::int64_t>(value.asUnsigned());
}

std::optional<Value> conformInteger(const Value& value, CimType type, std::string& problem) {
    if (!value.isInteger()) {
        problem = std::string(value.describe()) + " is not a valid " + ValueType::keyword(type);
        return std::nullopt;
    }
    if (!inRange(value, rangeOf(type))) {
        problem = "value out of range for " + std::string(ValueType::keyword(type));
        return std::nullopt;
    }
    if (type == CimType::Uint64)
        return Value::unsignedInteger(value.kind() == Value::Kind::Unsigned
                                          ? value.asUnsigned()
                                          : static_cast<std::uint64_t>(value.asSigned()));
    return Value::integer(signedOf(value));
}

std::optional<Value> conformReal(const Value& value, CimType type, std::string& problem) {
    double real;
    if (value.kind() == Value::Kind::Real)
        real = value.asReal();
    else if (value.kind() == Value::Kind::Signed)
        real = static_cast<double>(value.asSigned());
    else if (value.kind() == Value::Kind::Unsigned)
        real = static_cast<double>(value.asUnsigned());
    else {
        problem = std::string(value.describe()) + " is not a valid " + ValueType::keyword(type);
        return std::nullopt;
    }
    if (!std::isfinite(real) ||
        (type == CimType::Real32 && std::fabs(real) > std::numeric_limits<float>::max())) {
        problem = "value out of range for " + std::string(ValueType::keyword(type));
        return std::nullopt;
    }
    if (type == CimType::Real32) real = static_cast<float>(real);
    return Value::real(real);
}

std::optional<Value> conformScalar(const Value& value, CimType type, std::string& problem) {
    auto mismatch = [&]() -> std::optional<Value> {
        problem = std::string(value.describe()) + " is not a valid " + ValueType::keyword(type);
        return std::nullopt;
    };
    switch (type) {
        case CimType::Real32:
        case CimType::Real64:
            return conformReal(value, type, problem);
        case CimType::Boolean:
            if (value.kind() != Value::Kind::Boolean) return mismatch();
            return value;
        case CimType::String:
            if (value.kind() != Value::Kind::Text) return mismatch();
            return value;
        case CimType::Datetime:
            if (value.kind() != Value::Kind::Text) return mismatch();
            if (!TypeCheck::isDatetime(value.asText())) {
                problem = "not a datetime (yyyymmddHHMMSS.mmmmmmsUUU)";
                return std::nullopt;
            }
            return value;
        case CimType::Char16:
            if (value.kind() == Value::Kind::Text) {
                if (value.asText().size() != 1 || value.asText()[0] > 0xFFFF) {
                    problem = "a char16 value is a single character";
                    return std::nullopt;
                }
                return Value::integer(value.asText()[0]);
            }
            return conformInteger(value, type, problem);
        default:
            return conformInteger(value, type, problem);
    }
}

}  // namespace

std::optional<Value> TypeCheck::conform(const Value& value, ValueType type, std::string& problem) {
    if (value.isNull()) return value;
    if (!type.array) {
        if (value.kind() == Value::Kind::Array) {
            problem = "an array is not a valid " + type.name();
            return std::nullopt;
        }
        return conformScalar(value, type.base, problem);
    }
    if (value.kind() != Value::Kind::Array) {
        problem = std::string(value.describe()) + " is not a valid " + type.name();
        return std::nullopt;
    }
    std::vector<Value> elements;
    elements.reserve(value.asArray().size());
    for (const Value& element : value.asArray()) {
        if (element.isNull()) {
            problem = "an array element cannot be NULL";
            return std::nullopt;
        }
        std::optional<Value> conformed = conformScalar(element, type.base, problem);
        if (!conformed) return std::nullopt;
        elements.push_back(std::move(*conformed));
    }
    return Value::array(std::move(elements));
}

bool TypeCheck::isDatetime(const std::wstring& text) {
    if (text.size() != 25 || text[14] != L'.') return false;
    const wchar_t sign = text[21];
    if (sign != L'+' && sign != L'-' && sign != L':') return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 14 || i == 21) continue;
        if (!(text[i] >= L'0' && text[i] <= L'9') && text[i] != L'*') return false;
    }
    return true;
}

}  // namespace nvx4::repository
