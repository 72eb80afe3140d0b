// A statement that cannot be applied to the repository, and where it is in its source.
#ifndef NVX4_REPOSITORY_APPLYERROR_H
#define NVX4_REPOSITORY_APPLYERROR_H

#include <string>

#include "MofDocument.h"

namespace nvx4::repository {

struct ApplyError {
    Position where;
    std::string message;
};

}  // namespace nvx4::repository

#endif
