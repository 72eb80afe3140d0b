#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "TestSupport.h"
#include "Trace.h"

namespace {

using nvx4::test::ScopedEnv;
using nvx4::test::TempPath;

TEST(FileTrace, AppendsHeaderLineAndMessageUpToItsLevel) {
    TempPath trace("trace.log");
    ScopedEnv level("KEV_TRACE_LEVEL", "3");
    ScopedEnv file("KEV_TRACE_FILE", trace.path());
    fileTrace(3, "Utility\\src\\DBUrl.cpp", 27, "url is %s", "odbc:x");
    fileTrace(4, "Utility\\src\\DBUrl.cpp", 28, "not written");
    fileTrace(1, "b.cpp", 5, "ns[%ws]", L"root");
    const std::regex expected(
        "file:Utility\\\\src\\\\DBUrl\\.cpp line_no:27 time:[A-Z][a-z]{2} [A-Z][a-z]{2} "
        "[ 123][0-9] [0-9:]{8} [0-9]{4}\nurl is odbc:x\n"
        "file:b\\.cpp line_no:5 time:[^\n]+\nns\\[root\\]\n");
    EXPECT_TRUE(std::regex_match(trace.read(), expected)) << trace.read();
}

// The level comes from the environment (none: 0); a missing or unwritable file is ignored.
TEST(FileTrace, WritesNothingWithoutLevelOrFile) {
    TempPath trace("trace.log");
    {
        ScopedEnv level("KEV_TRACE_LEVEL", std::nullopt);
        ScopedEnv file("KEV_TRACE_FILE", trace.path());
        EXPECT_EQ(fileTraceLevel(), 0);
        fileTrace(1, "a", 1, "x");
    }
    EXPECT_EQ(trace.read(), "");
    ScopedEnv level("KEV_TRACE_LEVEL", "9");
    EXPECT_EQ(fileTraceLevel(), 9);
    for (const char* path : {static_cast<const char*>(nullptr), "/nonexistent-dir/sub/trace.log"}) {
        ScopedEnv file("KEV_TRACE_FILE", path ? std::optional<std::string>(path) : std::nullopt);
        EXPECT_EQ(openTraceFile(), nullptr);
        fileTrace(1, "a", 1, "x");  // no file: nothing happens
    }
}

}  // namespace
