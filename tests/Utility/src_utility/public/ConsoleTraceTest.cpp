#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "Trace.h"

namespace {

using nvx4::test::ScopedEnv;

// The header and message format shows in the provider library's trace.
std::string traceAt(int level) {
    testing::internal::CaptureStdout();
    consoleTrace(level, "enum_inband", 81, "strtemp = %s", "wmi:localhost");
    return testing::internal::GetCapturedStdout();
}

// Any value that reads as a non-zero number switches tracing on; it is no threshold: the own
// level (3) and the fixed level (6) are.
TEST(ConsoleTrace, SilentUnlessTheSwitchReadsNonZero) {
    struct Case {
        std::optional<std::string> value;
        int level;
        bool written;
    };
    const Case cases[] = {{std::nullopt, 1, false}, {"", 1, false},     {"0", 1, false},
                          {"abc", 1, false},        {" 0x1", 1, false}, {"1", 2, true},
                          {"1", 6, true},           {"1", 7, false},    {"12", 2, true},
                          {"12", 6, true},          {"12", 7, false}};
    for (const Case& c : cases) {
        ScopedEnv on("ULB_TRACE_LEVEL", c.value);
        EXPECT_EQ(traceAt(c.level) != "", c.written) << '"' << c.value.value_or("unset") << '"';
    }
}

}  // namespace
