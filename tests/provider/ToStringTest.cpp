// The real conversion; the short and boolean ones are checked through the library, where every
// class with such a field enumerates its fixture.
#include "ToString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

using nvx4::toString;

TEST(ToString, RealHasSixDecimals) {
    const std::pair<double, const char*> cases[] = {
        {-0.5, "-0.500000"},
        {1e-7, "0.000000"},
        {-1e-7, "-0.000000"},
        {123456.7890125, "123456.789012"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(toString(value), text) << value;
}

// From about 1e55 the text needs the usual 64-byte buffer and more: each is written in full.
TEST(ToString, HugeRealsAreWrittenInFullWithoutOverrun) {
    for (double value : {1e55, -1e55, 1e300, -1e300, std::numeric_limits<double>::max()}) {
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.6f", value);
        EXPECT_EQ(toString(value), expected) << value;
    }
    EXPECT_EQ(toString(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_NE(toString(std::nan("")).find("nan"), std::string::npos);
}

}  // namespace
