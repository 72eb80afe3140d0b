#include <gtest/gtest.h>

#include "TestSupport.h"
#include "Trace.h"

namespace {

TEST(ConsoleTraceHeader, LevelNineTurnsHeadersOffForGood) {
    nvx4::test::ScopedEnv on("ULB_TRACE_LEVEL", "1");
    testing::internal::CaptureStdout();
    consoleTrace(2, "a", 1, "first");
    setConsoleTraceLevel(9);
    consoleTrace(2, "a", 2, "second");
    setConsoleTraceLevel(3);
    consoleTrace(2, "a", 3, "third");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("\n  [[TRACE:a:1 "), 0u) << out;
    EXPECT_EQ(out.find("[[TRACE:a:2"), std::string::npos) << out;
    EXPECT_EQ(out.find("[[TRACE:a:3"), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - 16), "firstsecondthird");
}

}  // namespace
