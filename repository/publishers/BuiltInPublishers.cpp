#include "BuiltInPublishers.h"

#include "os/OsPublisher.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {
        {"os", &os::OsPublisher::make},
    };
    return publishers;
}

}  // namespace nvx4::repository
