#include "BuiltInPublishers.h"

#include "eventlog/EventLogPublisher.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {
        {"eventlog", EventLogPublisher::make},
    };
    return publishers;
}

}  // namespace nvx4::repository
