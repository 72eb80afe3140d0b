#include "TraceText.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <regex>

namespace {

std::string format(const char* text, ...) {
    va_list arguments;
    va_start(arguments, text);
    std::string out = formatTraceMessage(text, arguments);
    va_end(arguments);
    return out;
}

TEST(TraceText, BaseNameIsTheLastNonEmptyBackslashPiece) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\build\\provider\\enum_inband.cpp", "enum_inband.cpp"},
        {"enum_inband", "enum_inband"},
        {"a\\b\\", "b"},
        {"a\\\\b\\\\\\", "b"},
        {"provider/enum_inband.cpp", "provider/enum_inband.cpp"},
        {"\\\\\\", "?"},
        {"", "?"},
        {std::string(600, 'x') + "\\tail.cpp", "tail.cpp"},
        {std::string(600, '\\'), "?"},
        {std::string(700, 'y'), std::string(700, 'y')},
    };
    for (const auto& [path, base] : cases) EXPECT_EQ(traceBaseName(path.c_str()), base) << path;
    EXPECT_EQ(traceBaseName(nullptr), "?");
}

TEST(TraceText, FormatsPrintfStyleWithWideStrings) {
    EXPECT_EQ(format("%s=%d", "n", 5), "n=5");
    EXPECT_EQ(format("[%ws]", L"wide"), "[wide]");
    EXPECT_EQ(format("[%8ws|%-6ws|%.2ws]", L"ab", L"cd", L"efgh"), "[      ab|cd    |ef]");
    EXPECT_EQ(format("100%% %ws%%ws", L"x"), "100% x%ws");
    EXPECT_EQ(format("%s", std::string(5000, 'z').c_str()).size(), 5000u);
    EXPECT_EQ(format(""), "");
}

TEST(TraceText, TimeStampHasTheFixedForm) {
    const std::regex form(
        "(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "( [1-9]|[12][0-9]|3[01]) ([01][0-9]|2[0-3]):[0-5][0-9]:[0-6][0-9] [0-9]{4}\n");
    EXPECT_TRUE(std::regex_match(traceTimeStamp(), form)) << traceTimeStamp();
}

}  // namespace
