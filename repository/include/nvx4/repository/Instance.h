// An instance: its class and one value per property of the class, in the class's order.
#ifndef NVX4_REPOSITORY_INSTANCE_H
#define NVX4_REPOSITORY_INSTANCE_H

#include <memory>
#include <vector>

#include "nvx4/repository/ClassDef.h"
#include "nvx4/repository/Value.h"

namespace nvx4::repository {

struct Instance {
    std::shared_ptr<const ClassDef> cls;
    std::vector<Value> values;
};

}  // namespace nvx4::repository

#endif
