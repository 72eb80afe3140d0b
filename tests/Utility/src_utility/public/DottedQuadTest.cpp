// Which host strings are compared as addresses: the same answers on every platform, whatever the
// width of its integers (the last three cases wrap a 32-bit accumulator to 1 and to 255).
#include <gtest/gtest.h>

#include "miscellanea.h"

namespace {

TEST(DottedQuad, NeedsFourPartsFromOneTo255) {
    for (const char* text :
         {"1.2.3.4", "192.168.1.20", "1.2.3.4.5", " 1.2.3.4", "1.2.3.4x", "255.255.255.255"})
        EXPECT_TRUE(isDottedQuad(text)) << text;
    for (const char* text : {"127.0.0.2", "10.0.0.5", "256.1.1.1", "x.y.z.w", "1.2.3", "",
                             "-1.2.3.4", "1.2.3.99999999999999999999", "...", "1.2.3.",
                             "4294967297.1.1.1", "1.1.1.4294967551", "1.18446744073709551617.1.1"})
        EXPECT_FALSE(isDottedQuad(text)) << text;
}

}  // namespace
