#include "UserNames.h"

#include <pwd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace nvx4::repository {

namespace {

std::string lookUp(const std::string& uid) {
    char* end = nullptr;
    errno = 0;
    const unsigned long number = std::strtoul(uid.c_str(), &end, 10);
    if (uid.empty() || *end != '\0' || errno != 0 || number > static_cast<uid_t>(-1)) return uid;
    std::vector<char> buffer(1024);
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        const int error =
            getpwuid_r(static_cast<uid_t>(number), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        return (error == 0 && found != nullptr) ? std::string(found->pw_name) : uid;
    }
}

}  // namespace

const std::string& UserNames::of(const std::string& uid) {
    auto found = names_.find(uid);
    if (found == names_.end()) found = names_.emplace(uid, lookUp(uid)).first;
    return found->second;
}

}  // namespace nvx4::repository
