// For tests: forgets every registration when it is made and when it goes.
#ifndef NVX4_REPOSITORY_REGISTRATIONSCOPE_H
#define NVX4_REPOSITORY_REGISTRATIONSCOPE_H

#include "nvx4/repository/Repository.h"

namespace nvx4::repository {

class RegistrationScope {
  public:
    RegistrationScope() { Repository::clearRegistrations(); }
    ~RegistrationScope() { Repository::clearRegistrations(); }
    RegistrationScope(const RegistrationScope&) = delete;
    RegistrationScope& operator=(const RegistrationScope&) = delete;
};

}  // namespace nvx4::repository

#endif
