// Moments written as the Windows classes write them.
#ifndef NVX4_REPOSITORY_PUBLISHERS_CIMDATETIME_H
#define NVX4_REPOSITORY_PUBLISHERS_CIMDATETIME_H

#include <cstdint>
#include <string>

namespace nvx4::repository {

class CimDateTime {
  public:
    // CIM datetime of a moment given in microseconds since the epoch, in local time with its
    // offset from UTC in minutes: "yyyymmddHHMMSS.mmmmmm+UUU".
    static std::string local(std::int64_t microsecondsSinceEpoch);
};

}  // namespace nvx4::repository

#endif
