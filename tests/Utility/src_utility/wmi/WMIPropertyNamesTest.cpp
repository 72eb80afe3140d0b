#include "WMIPropertyNames.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "WMIText.h"

namespace {

// Rows read their properties in one order, then another; every read gives the name asked for
// (converted back by WMIText, checked below) and the same storage for the same name.
TEST(WMIPropertyNames, ConvertsEachNameOnceWhateverTheOrder) {
    WMIPropertyNames names;
    const std::vector<std::vector<std::string>> rows = {
        {"Id", "Name", "Speed"},        {"Id", "Name", "Speed"}, {"Speed", "Id"},
        {"Name", "Gr\xC3\xB6\xC3\x9F"}, {"Id", "Id", "Name"},    {"Speed", "Name", "Id", "Slot"},
    };
    std::map<std::string, const wchar_t*> first;
    for (const auto& row : rows) {
        for (const std::string& name : row) {
            const wchar_t* wide = names.wide(name);
            EXPECT_EQ(toNarrow(wide, std::wcslen(wide)), name);
            EXPECT_EQ(first.emplace(name, wide).first->second, wide) << name;
        }
    }
}

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
        BSTR bstr = SysAllocStringLen(c.wide.data(), static_cast<UINT>(c.wide.size()));
        EXPECT_EQ(bstrToNarrow(bstr), c.narrow);
        SysFreeString(bstr);
    }
}

}  // namespace
