// The one enumeration procedure behind every class: connect to the local repository, run one
// query for all instances of the class, fill one record per row from the class's field table and
// hand the records back as an array allocated at its final size.
#ifndef NVX4_ENUM_INBAND_H
#define NVX4_ENUM_INBAND_H

#include <limits>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "BooleanReader.h"
#include "CDBC_Exception.h"
#include "DBDriver.h"
#include "DBUrl.h"
#include "QueryHandles.h"
#include "RecordChunks.h"
#include "ToString.h"
#include "Trace.h"
#include "nvx4/FieldTable.h"
#include "nvx4/Provider.h"

namespace nvx4 {

// The name the enumerators' trace line carries as its source file.
inline constexpr char kEnumeratorSource[] = "enum_inband";

std::string connectionUrl(const std::string& host);

// Connects and runs "select * from <className>" into `handles`. Raises CDBC_Exception.
void openQuery(const std::string& url, const std::string& className, QueryHandles& handles);

template <class Record>
void fillField(Record& record, const Field<Record>& field, const std::string& property,
               DBResultSet& rows) {
    switch (field.kind) {
        case FieldKind::Text:
            field.text(record) = rows.getString(property);
            break;
        case FieldKind::Integer:
            field.integer(record) = rows.getInt(property);
            break;
        case FieldKind::Short:
            field.shortValue(record) =
                static_cast<short>(static_cast<unsigned short>(rows.getInt(property)));
            break;
        case FieldKind::ShortAsText:
            field.text(record) = toString(static_cast<unsigned short>(rows.getInt(property)));
            break;
        case FieldKind::RealAsText:
            field.text(record) = toString(rows.getDouble(property));
            break;
        case FieldKind::BooleanAsText:
            field.text(record) = toString(readBoolean(rows, property));
            break;
    }
}

// Reads every row into records, numbering them from 1 where the record has an Index.
template <class Record>
RecordChunks<Record> readRecords(DBResultSet& rows) {
    const auto& fields = RecordTraits<Record>::fields;
    std::vector<std::string> properties;
    for (const Field<Record>& field : fields) properties.emplace_back(field.property);
    RecordChunks<Record> records;
    unsigned int rowNumber = 0;
    while (rows.next()) {
        ++rowNumber;
        Record& record = records.emplace();
        if constexpr (HasIndex<Record>::value)
            record.Index = static_cast<unsigned short>(rowNumber);
        for (size_t i = 0; i < properties.size(); ++i)
            fillField(record, fields[i], properties[i], rows);
    }
    return records;
}

template <class Record>
int enumerateClass(std::string host, std::string className, int* count, void** instances) {
    // Nowhere to put the result: nothing is enumerated and nothing is written.
    if (count == nullptr || instances == nullptr) return NVX4_RESULT_READ_FAILURE;
    *count = 0;
    *instances = nullptr;
    const std::string url = connectionUrl(host);
    consoleTrace(2, kEnumeratorSource, __LINE__, "strtemp = %s", url.c_str());

    QueryHandles handles;
    try {
        openQuery(url, className, handles);
    } catch (const CDBC_Exception& e) {
        // A code of 0 would read as success; it is reported as a failure instead.
        return e.code != 0 ? e.code : NVX4_RESULT_READ_FAILURE;
    }
    RecordChunks<Record> records = readRecords<Record>(*handles.resultSet);
    handles.close();

    const std::size_t size = records.size();
    if (size == 0) return 0;
    // The count travels as an int; so many records could not be held anyway.
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return NVX4_RESULT_NO_MEMORY;
    Record* array = new (std::nothrow) Record[size];
    if (array == nullptr) return NVX4_RESULT_NO_MEMORY;
    // Moving the records in cannot throw, so once the array exists the call cannot fail.
    static_assert(std::is_nothrow_move_assignable_v<Record>);
    records.moveInto(array);
    *count = static_cast<int>(size);
    *instances = array;
    return 0;
}

}  // namespace nvx4

#endif
