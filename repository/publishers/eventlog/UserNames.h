// User names of numeric user ids from this machine's user database, each looked up once per
// instance: a journal holds the same few ids many times.
#ifndef NVX4_REPOSITORY_USERNAMES_H
#define NVX4_REPOSITORY_USERNAMES_H

#include <map>
#include <string>

namespace nvx4::repository {

class UserNames {
  public:
    // The name of the id, or the id itself when the machine has no such user.
    const std::string& of(const std::string& uid);

  private:
    std::map<std::string, std::string> names_;
};

}  // namespace nvx4::repository

#endif
