#include "nvx4/repository/LoadError.h"

namespace nvx4::repository {

std::string LoadError::text() const {
    if (line == 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

}  // namespace nvx4::repository
