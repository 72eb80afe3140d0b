// The embedded schema and samples, each parsed once on first use.
#ifndef NVX4_REPOSITORY_EMBEDDEDSOURCES_H
#define NVX4_REPOSITORY_EMBEDDEDSOURCES_H

#include <vector>

#include "ParsedSource.h"

namespace nvx4::repository {

class EmbeddedSources {
  public:
    static const ParsedSource& schema();
    static const std::vector<ParsedSource>& samples();
};

}  // namespace nvx4::repository

#endif
