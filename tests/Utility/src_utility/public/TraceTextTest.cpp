#include "TraceText.h"

#include <gtest/gtest.h>

#include <cstdarg>

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
    EXPECT_EQ(format("[%ws]", L"wide"), "[wide]");
    EXPECT_EQ(format("[%8ws|%-6ws|%.2ws]", L"ab", L"cd", L"efgh"), "[      ab|cd    |ef]");
    EXPECT_EQ(format("100%% %ws%%ws", L"x"), "100% x%ws");
    EXPECT_EQ(format("%s", std::string(5000, 'z').c_str()).size(), 5000u);
    EXPECT_EQ(format(""), "");
}

}  // namespace
