// The publishers of this machine's own data, in the order `live` lists them. Each lives in
// repository/publishers/<name>/ and adds itself here.
#ifndef NVX4_REPOSITORY_BUILTINPUBLISHERS_H
#define NVX4_REPOSITORY_BUILTINPUBLISHERS_H

#include <vector>

#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

struct BuiltInPublisher {
    const char* name;
    PublisherFactory make;
};

const std::vector<BuiltInPublisher>& builtInPublishers();

}  // namespace nvx4::repository

#endif
