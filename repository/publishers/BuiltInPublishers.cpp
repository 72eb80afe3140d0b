#include "BuiltInPublishers.h"

#include "os/OsPublisher.h"
#include "smbios/SmbiosPublisher.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {
        {"os", &os::OsPublisher::make},
        {"smbios", smbios::SmbiosPublisher::factory()},
    };
    return publishers;
}

}  // namespace nvx4::repository
