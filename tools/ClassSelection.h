// Turns the classes named on the command line into class table rows.
#ifndef NVX4_TOOL_CLASS_SELECTION_H
#define NVX4_TOOL_CLASS_SELECTION_H

#include <string>
#include <vector>

#include "nvx4/ClassTable.h"

namespace nvx4::tool {

// Accepts ids, record types, repository class names (any letter case) and "all"; keeps the order
// given. Raises std::invalid_argument for a name that is none of these.
std::vector<const ClassInfo*> selectClasses(const std::vector<std::string>& names);

}  // namespace nvx4::tool

#endif
