// Validation of repository MOF files without loading them anywhere.
#ifndef NVX4_TOOL_MOF_CHECK_H
#define NVX4_TOOL_MOF_CHECK_H

#include <ostream>
#include <string>
#include <vector>

namespace nvx4::tool {

// Reads each file as the repository would; prints "file: ok" or each error as
// "file:line:column: message". Returns 0 when every file is valid, 1 otherwise.
int checkMofFiles(const std::vector<std::string>& files, std::ostream& out, std::ostream& err);

}  // namespace nvx4::tool

#endif
