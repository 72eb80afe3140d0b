// Field tables: for each record type, its fields in order with the property that fills each and
// how the value is read and stored. One enumeration procedure and one printer serve every class
// from these tables.
#ifndef NVX4_FIELD_TABLE_H
#define NVX4_FIELD_TABLE_H

#include <string>

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

template <class Record>
struct Field {
    const char* property;
    FieldKind kind;
    std::string Record::*text;
    int Record::*integer;
    short Record::*shortValue;
};

template <class Record>
constexpr Field<Record> textField(const char* property, std::string Record::*member,
                                  FieldKind kind = FieldKind::Text) {
    return {property, kind, member, nullptr, nullptr};
}

template <class Record>
constexpr Field<Record> integerField(const char* property, int Record::*member) {
    return {property, FieldKind::Integer, nullptr, member, nullptr};
}

template <class Record>
constexpr Field<Record> shortField(const char* property, short Record::*member) {
    return {property, FieldKind::Short, nullptr, nullptr, member};
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

// Specialised per record type with: classId, repositoryClass, recordType, fields[] (a static
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
