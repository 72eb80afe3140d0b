#include "BuiltInPublishers.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {};
    return publishers;
}

}  // namespace nvx4::repository
