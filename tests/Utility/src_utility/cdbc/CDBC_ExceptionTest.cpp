#include "CDBC_Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(CDBC_Exception, SetInfoWithoutMessageKeepsTheMessage) {
    CDBC_Exception e("raiser.cpp", 1, 2, "kept");
    e.setInfo("other.cpp", 7, 9);
    EXPECT_STREQ(e.file, "other.cpp");
    EXPECT_EQ(e.line, 7);
    EXPECT_EQ(e.code, 9);
    EXPECT_EQ(e.message, "kept");
    e.setInfo("raiser.cpp", 8, 10, "replaced");
    EXPECT_EQ(e.line, 8);
    EXPECT_EQ(e.message, "replaced");
}

}  // namespace
