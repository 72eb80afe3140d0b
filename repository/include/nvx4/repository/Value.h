// A property, qualifier or parameter value. Literals read from MOF are untyped values; once a
// value is checked against a property's type (TypeCheck) it has the canonical kind of that type:
// Unsigned for uint64, Signed for every other integer type and char16, Real for real32 and real64,
// Boolean, Text for string and datetime, Array of those for array types, or Null.
#ifndef NVX4_REPOSITORY_VALUE_H
#define NVX4_REPOSITORY_VALUE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace nvx4::repository {

class Value {
  public:
    enum class Kind { Null, Signed, Unsigned, Real, Boolean, Text, Array };

    Value() = default;
    static Value integer(std::int64_t value) { return make<std::int64_t>(value); }
    static Value unsignedInteger(std::uint64_t value) { return make<std::uint64_t>(value); }
    static Value real(double value) { return make<double>(value); }
    static Value boolean(bool value) { return make<bool>(value); }
    static Value text(std::wstring value) { return make<std::wstring>(std::move(value)); }
    // UTF-8 text.
    static Value text(std::string_view value);
    static Value array(std::vector<Value> elements) {
        return make<std::vector<Value>>(std::move(elements));
    }

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }
    bool isInteger() const { return kind() == Kind::Signed || kind() == Kind::Unsigned; }

    std::int64_t asSigned() const { return std::get<std::int64_t>(data_); }
    std::uint64_t asUnsigned() const { return std::get<std::uint64_t>(data_); }
    double asReal() const { return std::get<double>(data_); }
    bool asBoolean() const { return std::get<bool>(data_); }
    const std::wstring& asText() const { return std::get<std::wstring>(data_); }
    const std::vector<Value>& asArray() const { return std::get<std::vector<Value>>(data_); }

    bool operator==(const Value& other) const { return data_ == other.data_; }
    bool operator!=(const Value& other) const { return !(*this == other); }

    // "an integer", "a string", ... for messages.
    const char* describe() const;

  private:
    using Data = std::variant<std::monostate, std::int64_t, std::uint64_t, double, bool,
                              std::wstring, std::vector<Value>>;
    template <typename T, typename Arg>
    static Value make(Arg&& arg) {
        Value value;
        value.data_.template emplace<T>(std::forward<Arg>(arg));
        return value;
    }

    Data data_;
};

}  // namespace nvx4::repository

#endif
