// Which host strings are compared as addresses: the same answers on every platform, whatever the
// width of its integers.
#include <gtest/gtest.h>

#include <utility>

#include "miscellanea.h"

namespace {

TEST(DottedQuad, NeedsFourPartsFromOneTo255) {
    const std::pair<const char*, bool> cases[] = {
        {"1.2.3.4", true},
        {"192.168.1.20", true},
        {"1.2.3.4.5", true},
        {" 1.2.3.4", true},
        {"1.2.3.4x", true},
        {"255.255.255.255", true},
        {"127.0.0.2", false},
        {"10.0.0.5", false},
        {"256.1.1.1", false},
        {"x.y.z.w", false},
        {"1.2.3", false},
        {"", false},
        {"-1.2.3.4", false},
        {"1.2.3.99999999999999999999", false},
        {"...", false},
        {"1.2.3.", false},
        // Numbers that wrap a 32-bit accumulator to 1 and to 255.
        {"4294967297.1.1.1", false},
        {"1.1.1.4294967551", false},
        {"1.18446744073709551617.1.1", false},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(isDottedQuad(text), expected) << text;
}

}  // namespace
