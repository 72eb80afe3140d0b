// The real conversion; the short and boolean ones are checked through the library, where every
// class with such a field enumerates its fixture.
#include "ToString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

using nvx4::toString;

// Six decimals, rounded, the sign kept on zero; from about 1e55 the text needs the usual 64-byte
// buffer and more: each is written in full.
TEST(ToString, HugeRealsAreWrittenInFullWithoutOverrun) {
    for (double value : {-0.5, 1e-7, -1e-7, 123456.7890125, 1e55, -1e55, 1e300, -1e300,
                         std::numeric_limits<double>::max()}) {
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.6f", value);
        EXPECT_EQ(toString(value), expected) << value;
    }
    EXPECT_EQ(toString(-1e-7), "-0.000000");
    EXPECT_EQ(toString(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_NE(toString(std::nan("")).find("nan"), std::string::npos);
}

}  // namespace
