// Times written as the Windows classes write them.
#ifndef NVX4_REPOSITORY_OS_CIMTEXT_H
#define NVX4_REPOSITORY_OS_CIMTEXT_H

#include <cstdint>
#include <string>

namespace nvx4::repository::os {

class CimText {
  public:
    // A duration in whole seconds: "HH:MM:SS", with "Nd " in front from one day on.
    static std::string elapsed(std::int64_t seconds);
};

}  // namespace nvx4::repository::os

#endif
