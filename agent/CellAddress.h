// Which cell of a table an object identifier names, and which cell follows it. A table's rows
// are numbered 1..rows and its columns firstColumn..lastColumn; a cell's identifier below the
// table is 1.column.row (the entry, then the column, then the row).
#ifndef NVX4_AGENT_CELL_ADDRESS_H
#define NVX4_AGENT_CELL_ADDRESS_H

#include <cstddef>
#include <optional>

namespace nvx4::agent {

struct Cell {
    unsigned long column;
    unsigned long row;
    bool operator==(const Cell& other) const { return column == other.column && row == other.row; }
};

class CellAddress {
  public:
    CellAddress(unsigned long firstColumn, unsigned long lastColumn, unsigned long rows)
        : firstColumn_(firstColumn), lastColumn_(lastColumn), rows_(rows) {}

    // The cell `suffix` (the sub-identifiers after the table's own) names exactly.
    std::optional<Cell> exact(const unsigned long* suffix, size_t length) const;
    // The first cell whose identifier is greater than the table's identifier followed by
    // `suffix`; an empty suffix (or an identifier before the table) gives the first cell.
    std::optional<Cell> after(const unsigned long* suffix, size_t length) const;

  private:
    std::optional<Cell> firstOfColumn(unsigned long column) const;

    unsigned long firstColumn_;
    unsigned long lastColumn_;
    unsigned long rows_;
};

}  // namespace nvx4::agent

#endif
