// Property values by name, as registrations and publishers give them.
#ifndef NVX4_REPOSITORY_PROPERTYVALUES_H
#define NVX4_REPOSITORY_PROPERTYVALUES_H

#include <string>
#include <utility>
#include <vector>

#include "nvx4/repository/Value.h"

namespace nvx4::repository {

using PropertyValues = std::vector<std::pair<std::wstring, Value>>;

}  // namespace nvx4::repository

#endif
