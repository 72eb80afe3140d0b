#include "ErrorCatalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

// The first and last codes of the connectivity layer's own block, a sample of each other block,
// and codes that are not catalogued.
TEST(ErrorCatalogue, FormatsModuleAndMessage) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x220004FF, "[util]unset environment variable "},
        {0x22000FFF, "[util]undefine driver name "},
        {0x22000FF5, "[util]set privilege error "},
        {0x00000001, "[ WMI ]WBEM_S_FALSE"},
        {0x80042001, "[ WMI ]WBEMESS_E_REGISTRATION_TOO_BROAD"},
        {0x800706BA, "[DCOM]E_CONNECT_ERROR"},
        {0x21000004, "[discovery]discovery disabled "},
        {0x2700000E, "[config]access denied "},
        {0, "(0)UNKNOW ERROR"},
        {0xFFFFFFFF, "(-1)UNKNOW ERROR"},
        {0x80041068, "(-2147217304)UNKNOW ERROR"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_STREQ(getErrorText(static_cast<int>(code)), text) << std::hex << code;
}

// A thread's texts share one buffer, overwritten by its next call; another thread's are elsewhere.
TEST(ErrorCatalogue, ThreadsDoNotOverwriteEachOthersText) {
    const char* first = getErrorText(0x22000FF9);
    const std::string firstText = first;
    const char* mine = getErrorText(0x22000FFE);
    EXPECT_EQ(first, mine);
    EXPECT_NE(firstText, mine);
    const char* theirs = nullptr;
    std::string theirText;
    std::thread([&] {
        theirs = getErrorText(0x80041002);
        theirText = theirs;
    }).join();
    EXPECT_NE(mine, theirs);
    EXPECT_STREQ(mine, "[util]undefine database name ");
    EXPECT_EQ(theirText, "[ WMI ]WBEM_E_NOT_FOUND");
}

}  // namespace
