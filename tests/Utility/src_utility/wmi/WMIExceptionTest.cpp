#include "WMIException.h"

#include <gtest/gtest.h>

namespace {

TEST(WMIStatusName, NamesTheKnownCodes) {
    // Fewer codes than the error catalogue names: a catalogued code past the ranges has no name.
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x00000000, "WBEM_NO_ERROR"},
        {0x00000001, "WBEM_S_FALSE"},
        {0x00040001, "WBEM_S_ALREADY_EXISTS"},
        {0x00040003, "WBEM_S_DIFFERENT"},
        {0x00040004, "UNKNOWM"},
        {0x00040005, "WBEM_S_NO_MORE_DATA"},
        {0x00040006, "UNKNOWM"},
        {0x80041000, "UNKNOWM"},
        {0x80041001, "WBEM_E_FAILED"},
        {0x8004102C, "WBEM_E_CANNOT_BE_SINGLETON"},
        {0x8004102D, "UNKNOWM"},
        {0xFFFFFFFF, "UNKNOWM"},
    };
    for (const auto& [code, name] : cases) {
        EXPECT_STREQ(wmiStatusName(static_cast<int>(code)), name) << std::hex << code;
        const WMIException e("WMIConnection.cpp", 10, static_cast<int>(code));
        EXPECT_EQ(e.message, name);
        EXPECT_EQ(e.line, 10);
    }
}

TEST(WMIException, SetInfoWithoutMessageTakesTheStatusName) {
    WMIException e("a.cpp", 1, 0x22000FF6, "using null init WMIObject");
    EXPECT_EQ(e.message, "using null init WMIObject");
    CDBC_Exception& base = e;
    base.setInfo("b.cpp", 2, 0x80041003);  // dispatches to the override
    EXPECT_STREQ(e.file, "b.cpp");
    EXPECT_EQ(e.line, 2);
    EXPECT_EQ(e.message, "WBEM_E_ACCESS_DENIED");
    e.setInfo("c.cpp", 3, 0x22000FFB, std::string("type case err:VT_BSTR to Long"));
    EXPECT_EQ(e.code, 0x22000FFB);
    EXPECT_EQ(e.message, "type case err:VT_BSTR to Long");
}

}  // namespace
