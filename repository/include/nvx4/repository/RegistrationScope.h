// For tests: forgets every registration and injected fault when it is made and when it goes.
#ifndef NVX4_REPOSITORY_REGISTRATIONSCOPE_H
#define NVX4_REPOSITORY_REGISTRATIONSCOPE_H

#include "nvx4/repository/FaultInjection.h"
#include "nvx4/repository/Repository.h"

namespace nvx4::repository {

class RegistrationScope {
  public:
    RegistrationScope() { reset(); }
    ~RegistrationScope() { reset(); }
    RegistrationScope(const RegistrationScope&) = delete;
    RegistrationScope& operator=(const RegistrationScope&) = delete;

  private:
    static void reset() {
        Repository::clearRegistrations();
        FaultInjection::clear();
    }
};

}  // namespace nvx4::repository

#endif
