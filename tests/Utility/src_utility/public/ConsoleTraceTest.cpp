#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "Trace.h"

namespace {

using nvx4::test::ScopedEnv;

std::string traceAt(int level, const char* file = "enum_inband", int line = 81) {
    testing::internal::CaptureStdout();
    consoleTrace(level, file, line, "strtemp = %s", "wmi:localhost");
    return testing::internal::GetCapturedStdout();
}

TEST(ConsoleTrace, SilentUnlessTheSwitchReadsNonZero) {
    for (const char* value : {"", "0", "abc", " 0x1"}) {
        ScopedEnv on("ULB_TRACE_LEVEL", std::string(value));
        EXPECT_EQ(traceAt(1), "") << '"' << value << '"';
    }
    ScopedEnv off("ULB_TRACE_LEVEL", std::nullopt);
    EXPECT_EQ(traceAt(1), "");
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

TEST(ConsoleTrace, TheSwitchValueIsNotAThreshold) {
    for (const char* value : {"1", "12"}) {
        ScopedEnv on("ULB_TRACE_LEVEL", value);
        EXPECT_NE(traceAt(2), "") << value;
        EXPECT_NE(traceAt(6), "") << value;
        EXPECT_EQ(traceAt(7), "") << value;
    }
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

TEST(ConsoleTrace, ConcurrentLevelChangesAreSafe) {
    ScopedEnv off("ULB_TRACE_LEVEL", std::nullopt);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 1000; ++i) {
                setConsoleTraceLevel(t + 3);
                consoleTrace(2, "f", i, "x");
                EXPECT_GE(getConsoleTraceLevel(), 3);
            }
        });
    for (auto& thread : threads) thread.join();
    setConsoleTraceLevel(3);
}

}  // namespace
