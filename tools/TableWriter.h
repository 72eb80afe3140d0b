// Writes record tables as aligned text, CSV or JSON.
#ifndef NVX4_TOOL_TABLE_WRITER_H
#define NVX4_TOOL_TABLE_WRITER_H

#include <ostream>
#include <vector>

#include "CommandLine.h"
#include "RecordTable.h"

namespace nvx4::tool {

using client::Cell;
using client::RecordTable;

// Aligned columns under a "<id> <repository class> (<n> records)" heading.
void writeText(std::ostream& out, const RecordTable& table);
// A header line of column names, then one line per record; fields quoted where needed.
void writeCsv(std::ostream& out, const RecordTable& table);
// One JSON array holding, per class, its identity and its records.
void writeJson(std::ostream& out, const std::vector<RecordTable>& tables);

}  // namespace nvx4::tool

#endif
