#include "CDBC_Exception.h"

#include <gtest/gtest.h>

namespace {

const char kFile[] = "raiser.cpp";

TEST(CDBC_Exception, CopiesEveryMember) {
    const CDBC_Exception original(kFile, 42, 0x22000FF9, "field not found[x]");
    const CDBC_Exception copy = original;
    EXPECT_EQ(copy.file, kFile);  // the same pointer, not a copy of the text
    EXPECT_EQ(copy.line, 42);
    EXPECT_EQ(copy.code, 0x22000FF9);
    EXPECT_EQ(copy.message, "field not found[x]");
}

TEST(CDBC_Exception, DefaultHasEmptyMessage) {
    const CDBC_Exception empty;
    EXPECT_EQ(empty.message, "");
    EXPECT_EQ(empty.code, 0);
}

TEST(CDBC_Exception, SetInfoWithoutMessageKeepsTheMessage) {
    CDBC_Exception e(kFile, 1, 2, "kept");
    e.setInfo("other.cpp", 7, 9);
    EXPECT_STREQ(e.file, "other.cpp");
    EXPECT_EQ(e.line, 7);
    EXPECT_EQ(e.code, 9);
    EXPECT_EQ(e.message, "kept");
    e.setInfo(kFile, 8, 10, "replaced");
    EXPECT_EQ(e.line, 8);
    EXPECT_EQ(e.message, "replaced");
}

TEST(CDBC_Exception, IsThrownAndCaughtByValue) {
    try {
        throw CDBC_Exception(kFile, 3, -5, "boom");
    } catch (const CDBC_Exception& e) {
        EXPECT_EQ(e.code, -5);
        EXPECT_EQ(e.message, "boom");
    }
}

}  // namespace
