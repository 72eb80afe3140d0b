// For tests: forgets every repository registration and every injected fault when it is made and
// when it goes, so that each test meets the stand-in as a fresh process would.
#ifndef NVX4_PLATFORM_STANDINSCOPE_H
#define NVX4_PLATFORM_STANDINSCOPE_H

#include "nvx4/platform/FaultInjection.h"
#include "nvx4/repository/RegistrationScope.h"

namespace nvx4::platform {

class StandInScope {
  public:
    StandInScope() { FaultInjection::clear(); }
    ~StandInScope() { FaultInjection::clear(); }
    StandInScope(const StandInScope&) = delete;
    StandInScope& operator=(const StandInScope&) = delete;

  private:
    repository::RegistrationScope registrations_;
};

}  // namespace nvx4::platform

#endif
