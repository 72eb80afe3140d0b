#include "WMIException.h"

#include <gtest/gtest.h>

namespace {

TEST(WMIStatusName, NamesTheKnownCodes) {
    // Fewer codes than the error catalogue names: a catalogued code past the ranges has no name.
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x00000000, "WBEM_NO_ERROR"},
        {0x00000001, "WBEM_S_FALSE"},
        {0x00040001, "WBEM_S_ALREADY_EXISTS"},
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
    }
}

}  // namespace
