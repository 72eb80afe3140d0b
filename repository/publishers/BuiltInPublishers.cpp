#include "BuiltInPublishers.h"

#include "eventlog/EventLogPublisher.h"
#include "ipmi/IpmiPublisher.h"
#include "os/OsPublisher.h"
#include "smart/SmartPublisher.h"
#include "smbios/SmbiosPublisher.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {
        {"os", &os::OsPublisher::make},  {"smbios", smbios::SmbiosPublisher::factory()},
        {"ipmi", &IpmiPublisher::make},  {"eventlog", EventLogPublisher::make},
        {"smart", SmartPublisher::make},
    };
    return publishers;
}

}  // namespace nvx4::repository
