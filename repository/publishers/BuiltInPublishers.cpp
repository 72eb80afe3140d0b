#include "BuiltInPublishers.h"

#include "ipmi/IpmiPublisher.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {
        {"ipmi", &IpmiPublisher::make},
    };
    return publishers;
}

}  // namespace nvx4::repository
