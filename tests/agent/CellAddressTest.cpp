// Cell addressing of a table: the cell an identifier names and the one after it.
#include "CellAddress.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using nvx4::agent::Cell;
using nvx4::agent::CellAddress;
using Suffix = std::vector<unsigned long>;
using Expected = std::optional<Cell>;

// Columns 2..4, three rows.
const CellAddress kTable(2, 4, 3);

// The end-to-end walks reach the table itself, each cell, the last one and an empty table; the
// identifiers between and around them only here.
TEST(CellAddress, AfterWalksColumnByColumnAndStopsAtTheEnd) {
    const std::pair<Suffix, Expected> cases[] = {
        {{0}, Cell{2, 1}},        // before the entry
        {{1}, Cell{2, 1}},        // the entry
        {{1, 1, 7}, Cell{2, 1}},  // the index column is not served
        {{1, 2}, Cell{2, 1}},
        {{1, 2, 1, 9, 9}, Cell{2, 2}},  // below a cell: still the next row
        {{1, 2, 4000000000UL}, Cell{3, 1}},
        {{1, 5}, std::nullopt},
        {{2}, std::nullopt},
    };
    for (const auto& [suffix, expected] : cases)
        EXPECT_EQ(kTable.after(suffix.data(), suffix.size()), expected)
            << ::testing::PrintToString(suffix);
}

}  // namespace
