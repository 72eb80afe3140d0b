#include "BuiltInPublishers.h"

#include "os/OsPublisher.h"
#include "smbios/SmbiosPublisher.h"
#include "eventlog/EventLogPublisher.h"
#include "smart/SmartPublisher.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {
        {"os", &os::OsPublisher::make},
        {"smbios", smbios::SmbiosPublisher::factory()},
        {"eventlog", EventLogPublisher::make},
        {"smart", SmartPublisher::make},
    };
    return publishers;
}

}  // namespace nvx4::repository
