#include "ErrorCatalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>

namespace {

struct Lookup {
    std::uint32_t code;
    const char* text;
};

void PrintTo(const Lookup& l, std::ostream* out) { *out << std::hex << "0x" << l.code; }

class ErrorTextTest : public ::testing::TestWithParam<Lookup> {};

TEST_P(ErrorTextTest, FormatsModuleAndMessage) {
    EXPECT_STREQ(getErrorText(static_cast<int>(GetParam().code)), GetParam().text);
}

// Every code of the connectivity layer's own block, then samples of the others and codes that
// are not catalogued.
INSTANTIATE_TEST_SUITE_P(
    Catalogue, ErrorTextTest,
    ::testing::Values(
        Lookup{0x220004FF, "[util]unset environment variable "},
        Lookup{0x22000FFF, "[util]undefine driver name "},
        Lookup{0x22000FFE, "[util]undefine database name "},
        Lookup{0x22000FFD, "[util]no support driver "},
        Lookup{0x22000FFC, "[util]function under construct "},
        Lookup{0x22000FFB, "[util]data type error "},
        Lookup{0x22000FFA, "[util]no support function "},
        Lookup{0x22000FF9, "[util]field not found "}, Lookup{0x22000FF8, "[util]can not init env "},
        Lookup{0x22000FF7, "[util]select statement can run only one times "},
        Lookup{0x22000FF6, "[util]invalid parameter "},
        Lookup{0x22000FF5, "[util]set privilege error "},
        Lookup{0x80041002, "[ WMI ]WBEM_E_NOT_FOUND"}, Lookup{0x00000001, "[ WMI ]WBEM_S_FALSE"},
        Lookup{0x00040004, "[ WMI ]WBEM_S_TIMEDOUT"},
        Lookup{0x80041067, "[ WMI ]WBEM_E_CLIENT_TOO_SLOW"},
        Lookup{0x80042001, "[ WMI ]WBEMESS_E_REGISTRATION_TOO_BROAD"},
        Lookup{0x800706BA, "[DCOM]E_CONNECT_ERROR"}, Lookup{0x80070057, "[DCOM]E_INVALIDARG"},
        Lookup{0x21000004, "[discovery]discovery disabled "},
        Lookup{0x2700000E, "[config]access denied "}, Lookup{0, "(0)UNKNOW ERROR"},
        Lookup{12345, "(12345)UNKNOW ERROR"}, Lookup{0xFFFFFFFF, "(-1)UNKNOW ERROR"},
        Lookup{0x80041068, "(-2147217304)UNKNOW ERROR"}));

// A code listed twice would hide its second text; every text fits the lookup's buffer.
TEST(ErrorCatalogue, HasItsFixedShape) {
    const ErrorRecord* records = errorCatalogue();
    int count = 0;
    std::set<std::int32_t> codes;
    for (; records[count].code != 0; ++count) {
        EXPECT_TRUE(codes.insert(records[count].code).second)
            << "duplicate code " << records[count].code;
        EXPECT_NE(records[count].module[0], '\0');
        EXPECT_LT(std::strlen(records[count].module) + std::strlen(records[count].message) + 2,
                  1024u);
    }
    EXPECT_STREQ(records[count].module, "");
    EXPECT_STREQ(records[count].message, "");
}

TEST(ErrorCatalogue, RepeatedCallsShareTheThreadsBuffer) {
    const char* first = getErrorText(0x22000FF9);
    const std::string firstText = first;
    const char* second = getErrorText(0x22000FFE);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(second, "[util]undefine database name ");
    EXPECT_NE(firstText, second);
}

TEST(ErrorCatalogue, ThreadsDoNotOverwriteEachOthersText) {
    const char* mine = getErrorText(0x22000FF9);
    const char* theirs = nullptr;
    std::string theirText;
    std::thread other([&] {
        theirs = getErrorText(0x80041002);
        theirText = theirs;
    });
    other.join();
    EXPECT_NE(mine, theirs);
    EXPECT_STREQ(mine, "[util]field not found ");
    EXPECT_EQ(theirText, "[ WMI ]WBEM_E_NOT_FOUND");
}

}  // namespace
