// Field tables: for each record type, its fields in order with the property that fills each and
// how the value is read and stored. One enumeration procedure and one printer serve every class
// from these tables.
#ifndef NVX4_FIELD_TABLE_H
#define NVX4_FIELD_TABLE_H

#include <stdexcept>
#include <string>
#include <variant>

namespace nvx4 {

// How a field is read from its row and stored.
enum class FieldKind {
    Text,           // getString, stored as read
    Integer,        // getInt, stored as read
    Short,          // getInt, low 16 bits
    ShortAsText,    // getInt, low 16 bits as an unsigned decimal text
    RealAsText,     // getDouble, "%.6f" text
    BooleanAsText,  // getBoolean, "true" or "false"
};

// One field of a record: the property that fills it, how it is read, and the one member it is
// stored in, typed by its kind (a string for the text kinds, an int or a short otherwise). The
// constructors tie the kind to the member's type, so no descriptor can name a member its kind
// does not store into.
template <class Record>
struct Field {
    using TextMember = std::string Record::*;
    using IntegerMember = int Record::*;
    using ShortMember = short Record::*;

    // A text kind only; any other is refused (at compile time in a constexpr table).
    constexpr Field(const char* name, TextMember member, FieldKind textKind)
        : property(name),
          kind(storesText(textKind) ? textKind : throw std::invalid_argument(name)),
          member_(member) {}
    constexpr Field(const char* name, IntegerMember member)
        : property(name), kind(FieldKind::Integer), member_(member) {}
    constexpr Field(const char* name, ShortMember member)
        : property(name), kind(FieldKind::Short), member_(member) {}

    // The field's storage in a record, for the kinds that store that type.
    std::string& text(Record& record) const { return record.*std::get<TextMember>(member_); }
    const std::string& text(const Record& record) const {
        return record.*std::get<TextMember>(member_);
    }
    int& integer(Record& record) const { return record.*std::get<IntegerMember>(member_); }
    const int& integer(const Record& record) const {
        return record.*std::get<IntegerMember>(member_);
    }
    short& shortValue(Record& record) const { return record.*std::get<ShortMember>(member_); }
    const short& shortValue(const Record& record) const {
        return record.*std::get<ShortMember>(member_);
    }

    static constexpr bool storesText(FieldKind kind) {
        return kind != FieldKind::Integer && kind != FieldKind::Short;
    }

    const char* const property;
    const FieldKind kind;

  private:
    std::variant<TextMember, IntegerMember, ShortMember> member_;
};

template <class Record>
constexpr Field<Record> textField(const char* property, std::string Record::*member,
                                  FieldKind kind = FieldKind::Text) {
    return {property, member, kind};
}

template <class Record>
constexpr Field<Record> integerField(const char* property, int Record::*member) {
    return {property, member};
}

template <class Record>
constexpr Field<Record> shortField(const char* property, short Record::*member) {
    return {property, member};
}

template <class Record>
constexpr Field<Record> shortTextField(const char* property, std::string Record::*member) {
    return textField(property, member, FieldKind::ShortAsText);
}

template <class Record>
constexpr Field<Record> realTextField(const char* property, std::string Record::*member) {
    return textField(property, member, FieldKind::RealAsText);
}

template <class Record>
constexpr Field<Record> booleanTextField(const char* property, std::string Record::*member) {
    return textField(property, member, FieldKind::BooleanAsText);
}

// Specialised per record type with fields[] (a static
// constexpr array of Field<Record>); records with a row number also have the member Index.
template <class Record>
struct RecordTraits;

// Whether a record type begins with the row number Index.
template <class Record, class = void>
struct HasIndex {
    static constexpr bool value = false;
};
template <class Record>
struct HasIndex<Record, decltype(void(&Record::Index))> {
    static constexpr bool value = true;
};

}  // namespace nvx4

#endif
