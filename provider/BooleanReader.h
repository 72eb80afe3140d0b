// Booleans are read through the WMI driver's result set, the only one that offers them.
#ifndef NVX4_BOOLEAN_READER_H
#define NVX4_BOOLEAN_READER_H

#include <string>

class DBResultSet;

namespace nvx4 {

// The named boolean property of the current row. A result set of another driver raises
// 0x22000FFB "type cast error" instead of being misread.
bool readBoolean(DBResultSet& resultSet, const std::string& property);

}  // namespace nvx4

#endif
