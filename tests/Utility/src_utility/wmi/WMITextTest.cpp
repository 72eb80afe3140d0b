#include <gtest/gtest.h>

#include <string>

#include "BstrHolder.h"
#include "WMIText.h"

namespace {

// Both ways: names go to the service as wide text, values come back as narrow text.
TEST(WMIText, ConvertsAsciiAndOtherTextAlike) {
    const struct {
        std::wstring wide;
        std::string narrow;
    } cases[] = {
        {L"", ""},
        {L"NVX4_ComputerSystem", "NVX4_ComputerSystem"},
        {std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
        {L"\u007f", "\x7f"},
        {L"\u0080", "\xC2\x80"},
        {L"Gr\u00f6\u00dfe",
         "Gr\xC3\xB6\xC3\x9F"
         "e"},
        {L"ends in \u20ac", "ends in \xE2\x82\xAC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toNarrow(c.wide.data(), c.wide.size()), c.narrow);
        if (c.narrow.find('\0') == std::string::npos) {
            EXPECT_EQ(std::wstring(BstrHolder(c.narrow).get()), c.wide);
        }
        BSTR bstr = SysAllocStringLen(c.wide.data(), static_cast<UINT>(c.wide.size()));
        EXPECT_EQ(bstrToNarrow(bstr), c.narrow);
        SysFreeString(bstr);
    }
}

}  // namespace
