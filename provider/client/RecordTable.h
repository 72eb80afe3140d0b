// Records turned into rows of text cells, column by column as the field tables give them.
#ifndef NVX4_CLIENT_RECORD_TABLE_H
#define NVX4_CLIENT_RECORD_TABLE_H

#include <string>
#include <vector>

#include "nvx4/ClassTable.h"
#include "nvx4/FieldTable.h"

namespace nvx4::client {

struct Cell {
    std::string text;
    bool number = false;  // printed unquoted in JSON
};

struct RecordTable {
    const ClassInfo* info = nullptr;
    std::string title;  // replaces the class heading of the text form when set
    std::vector<std::string> columns;
    std::vector<std::vector<Cell>> rows;
};

template <class Record>
Cell cellOf(const Record& record, const Field<Record>& field) {
    switch (field.kind) {
        case FieldKind::Integer:
            return {std::to_string(field.integer(record)), true};
        case FieldKind::Short:
            return {std::to_string(field.shortValue(record)), true};
        default:
            return {field.text(record), false};
    }
}

template <class Record>
RecordTable makeRecordTable(const ClassInfo& info, const void* instances, int count) {
    RecordTable table;
    table.info = &info;
    if constexpr (HasIndex<Record>::value) table.columns.push_back("Index");
    for (const Field<Record>& field : RecordTraits<Record>::fields)
        table.columns.push_back(field.property);
    const auto* records = static_cast<const Record*>(instances);
    for (int i = 0; i < count; ++i) {
        std::vector<Cell> row;
        if constexpr (HasIndex<Record>::value)
            row.push_back({std::to_string(records[i].Index), true});
        for (const Field<Record>& field : RecordTraits<Record>::fields)
            row.push_back(cellOf(records[i], field));
        table.rows.push_back(std::move(row));
    }
    return table;
}

// The table of `count` records of class `info`; no rows for a class without a field table.
inline RecordTable recordTableOf(const ClassInfo& info, const void* instances, int count) {
    RecordTable table;
    table.info = &info;
    AllRecords::visit(info.id, [&](auto tag) {
        using Record = typename decltype(tag)::type;
        table = makeRecordTable<Record>(info, instances, count);
    });
    return table;
}

}  // namespace nvx4::client

#endif
