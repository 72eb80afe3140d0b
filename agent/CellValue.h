// The value of one field of one record in an array the provider returned, read through the
// record type's field table.
#ifndef NVX4_AGENT_CELL_VALUE_H
#define NVX4_AGENT_CELL_VALUE_H

#include <cstddef>
#include <string_view>

#include "nvx4/ClassTable.h"
#include "nvx4/FieldTable.h"

namespace nvx4::agent {

struct CellValue {
    bool isInteger = false;
    long integer = 0;
    std::string_view text;  // points into the record; valid while the array is
};

// Field `field` (in field-table order) of record `row` (from 0) of class `classId`.
inline CellValue cellValue(int classId, const void* instances, size_t row, size_t field) {
    CellValue value;
    AllRecords::visit(classId, [&](auto tag) {
        using Record = typename decltype(tag)::type;
        const Record& record = static_cast<const Record*>(instances)[row];
        const Field<Record>& f = RecordTraits<Record>::fields[field];
        switch (f.kind) {
            case FieldKind::Integer:
                value = {true, f.integer(record), {}};
                break;
            case FieldKind::Short:
                value = {true, f.shortValue(record), {}};
                break;
            default:
                value.text = f.text(record);
        }
    });
    return value;
}

}  // namespace nvx4::agent

#endif
