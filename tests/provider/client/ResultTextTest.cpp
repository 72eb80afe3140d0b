// Result codes explained for people, as the tool and the subagent print them.
#include "ResultText.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using nvx4::client::describeResult;

TEST(ResultText, NamesTheMeaningOfEachKindOfCode) {
    const std::pair<int, const char*> cases[] = {
        {-1, "result -1 (0xFFFFFFFF) unknown class, or no memory for the result"},
        {0x22000FFD, "result 570429437 (0x22000FFD) [util]no support driver "},
        {static_cast<int>(0x8004100E),
         "result -2147217394 (0x8004100E) [ WMI ]WBEM_E_INVALID_NAMESPACE"},
        {42, "result 42 (0x0000002A) unknown code"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(describeResult(code), text);
}

}  // namespace
