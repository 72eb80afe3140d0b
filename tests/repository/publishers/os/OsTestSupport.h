#ifndef NVX4_OS_TEST_SUPPORT_H
#define NVX4_OS_TEST_SUPPORT_H

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CommandOutput.h"
#include "nvx4/repository/PropertyValues.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository::os::test {

using nvx4::test::commandOutput;
using nvx4::test::lines;

// A forked child named `name` that runs `setup`, then pauses or exits; ready once set up,
// killed and reaped at the end.
class Child {
  public:
    enum Then { kPause, kExit };

    Child(
        const char* name, Then then, const std::function<void()>& setup = [] {}) {
        int ready[2];
        if (::pipe(ready) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_NAME, name);
            setup();
            (void)!::write(ready[1], "x", 1);
            if (then == kExit) ::_exit(0);
            for (;;) ::pause();
        }
        char byte;
        (void)!::read(ready[0], &byte, 1);
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~Child() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_;
};

inline const Value& get(const PropertyValues& instance, const wchar_t* property) {
    for (const auto& [name, value] : instance)
        if (name == property) return value;
    throw std::runtime_error("no property " + Utf8::toNarrow(property));
}

inline std::string text(const PropertyValues& instance, const wchar_t* property) {
    return Utf8::toNarrow(get(instance, property).asText());
}

// The instance whose `key` property reads `value`; fails the test when there is none.
inline const PropertyValues* findBy(const std::vector<PropertyValues>& instances,
                                    const wchar_t* key, const std::string& value) {
    for (const PropertyValues& instance : instances)
        if (text(instance, key) == value) return &instance;
    ADD_FAILURE() << "no instance with " << Utf8::toNarrow(key) << " = " << value;
    return nullptr;
}

}  // namespace nvx4::repository::os::test

#endif
