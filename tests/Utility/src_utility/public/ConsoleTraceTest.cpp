#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "TestSupport.h"
#include "Trace.h"

namespace {

using nvx4::test::ScopedEnv;

std::string traceAt(int level, const char* file = "enum_inband", int line = 81) {
    testing::internal::CaptureStdout();
    consoleTrace(level, file, line, "strtemp = %s", "wmi:localhost");
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

TEST(ConsoleTrace, WritesHeaderAndMessageWithoutTrailingNewline) {
    ScopedEnv on("ULB_TRACE_LEVEL", "1");
    const std::string out = traceAt(2, "C:\\src\\provider\\enum_inband", 81);
    const std::regex expected(
        "\n  \\[\\[TRACE:enum_inband:81 "
        "(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "[ 123][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\n"
        "strtemp = wmi:localhost");
    EXPECT_TRUE(std::regex_match(out, expected)) << out;
}

TEST(ConsoleTrace, OwnLevelRaisesTheThreshold) {
    ScopedEnv on("ULB_TRACE_LEVEL", "1");
    EXPECT_EQ(getConsoleTraceLevel(), 3);
    EXPECT_EQ(setConsoleTraceLevel(10), 0);
    EXPECT_EQ(getConsoleTraceLevel(), 10);
    EXPECT_NE(traceAt(10), "");
    EXPECT_EQ(traceAt(11), "");
    setConsoleTraceLevel(3);
}

}  // namespace
