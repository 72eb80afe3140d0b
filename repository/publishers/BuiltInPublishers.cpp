#include "BuiltInPublishers.h"

#include "smbios/SmbiosPublisher.h"

namespace nvx4::repository {

const std::vector<BuiltInPublisher>& builtInPublishers() {
    static const std::vector<BuiltInPublisher> publishers = {
        {"smbios", smbios::SmbiosPublisher::factory()},
    };
    return publishers;
}

}  // namespace nvx4::repository
