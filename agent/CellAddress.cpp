#include "CellAddress.h"

namespace nvx4::agent {
namespace {

constexpr unsigned long kEntry = 1;

}  // namespace

std::optional<Cell> CellAddress::exact(const unsigned long* suffix, size_t length) const {
    if (length != 3 || suffix[0] != kEntry) return std::nullopt;
    const Cell cell{suffix[1], suffix[2]};
    if (cell.column < firstColumn_ || cell.column > lastColumn_) return std::nullopt;
    if (cell.row < 1 || cell.row > rows_) return std::nullopt;
    return cell;
}

std::optional<Cell> CellAddress::firstOfColumn(unsigned long column) const {
    if (rows_ == 0 || column > lastColumn_) return std::nullopt;
    return Cell{column, 1};
}

std::optional<Cell> CellAddress::after(const unsigned long* suffix, size_t length) const {
    if (length == 0 || suffix[0] < kEntry) return firstOfColumn(firstColumn_);
    if (suffix[0] > kEntry) return std::nullopt;
    if (length == 1 || suffix[1] < firstColumn_) return firstOfColumn(firstColumn_);
    const unsigned long column = suffix[1];
    if (column > lastColumn_) return std::nullopt;
    if (length == 2) return firstOfColumn(column);
    // Any identifier that starts with 1.column.row sorts after the cell of that row, and the
    // next row follows it; past the last row, the next column begins.
    if (suffix[2] < rows_) return Cell{column, suffix[2] + 1};
    return firstOfColumn(column + 1);
}

}  // namespace nvx4::agent
