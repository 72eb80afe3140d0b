// Result codes explained for people; catalogued codes show in the subagent's log lines.
#include "ResultText.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using nvx4::client::describeResult;

TEST(ResultText, NamesTheMeaningOfEachKindOfCode) {
    const std::pair<int, const char*> cases[] = {
        {-1, "result -1 (0xFFFFFFFF) unknown class, or no memory for the result"},
        {42, "result 42 (0x0000002A) unknown code"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(describeResult(code), text);
}

}  // namespace
