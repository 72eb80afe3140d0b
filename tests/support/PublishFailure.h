// What a publisher call that should fail raised, for tests of the publishers' failure paths.
#ifndef NVX4_TEST_PUBLISHFAILURE_H
#define NVX4_TEST_PUBLISHFAILURE_H

#include <string>

#include "nvx4/repository/Publisher.h"

namespace nvx4::test {

// "<status> <message>" of the PublishError `call` raises, or "no failure".
template <typename Call>
std::string publishFailure(Call call) {
    try {
        call();
        return "no failure";
    } catch (const repository::PublishError& e) {
        return std::to_string(e.status()) + " " + e.what();
    }
}

}  // namespace nvx4::test

#endif
