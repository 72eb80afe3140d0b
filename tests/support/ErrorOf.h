// Refusals compared by their message.
#ifndef NVX4_TEST_ERROR_OF_H
#define NVX4_TEST_ERROR_OF_H

#include <string>

namespace nvx4::test {

// What `action` raises as Error, or "no error" when it returns.
template <class Error, class Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace nvx4::test

#endif
