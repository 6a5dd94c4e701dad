// Cells and rectangles of a sheet as formulas write them: A1, $B$2, C3:D4,
// whole columns (A:B) and rows (1:2), within Excel's grid of 1,048,576 rows
// and 16,384 columns (A1 to XFD1048576).
#pragma once

#include <string>
#include <string_view>

namespace xllhost {

constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;

// A rectangle of one sheet; rows and columns from 0, first <= last.
struct Area {
  int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;

  int Rows() const { return lastRow - firstRow + 1; }
  int Columns() const { return lastColumn - firstColumn + 1; }
  bool IsCell() const { return firstRow == lastRow && firstColumn == lastColumn; }
  // Whether it lies in the grid, A1 to XFD1048576, its corners in order.
  bool InGrid() const {
    return firstRow >= 0 && firstColumn >= 0 && lastRow < MaxRows && lastColumn < MaxColumns && firstRow <= lastRow &&
           firstColumn <= lastColumn;
  }
  bool Contains(int row, int column) const {
    return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
  }
  bool operator==(const Area& other) const {
    return firstRow == other.firstRow && lastRow == other.lastRow && firstColumn == other.firstColumn &&
           lastColumn == other.lastColumn;
  }
};

// The letters of a column: 0 is A, 16383 is XFD.
std::string ColumnName(int column);
// B3 for row 2, column 1.
std::string CellName(int row, int column);
// A1 for one cell, A1:B3 for a rectangle.
std::string AreaName(const Area& area);

// One corner of a reference as written: its letters and digits, each part
// optionally fixed with $. Reads as much of `text` from `at` as forms one;
// answers false, leaving `at`, when none starts there. `pastGrid` is set for
// letters and digits that would be a cell beyond XFD1048576.
struct Corner {
  int row = 0, column = 0;
  bool hasRow = false, hasColumn = false;  // a whole column has no row, a whole row no column
  bool rowFixed = false, columnFixed = false;
};
bool ReadCorner(std::string_view text, size_t& at, Corner* corner, bool* pastGrid);

// The area the corners of a reference cover, written in the cell at (row,
// column): a relative part is an offset from it, a missing row or column
// the whole grid's.
Area Resolve(const Corner& first, const Corner& last, int row, int column);

// Whether the text at `at`, which reads as a cell past the grid's last
// column or row, is a word alone, such as ISIN1 or abcd12, which Excel
// reads as a name. One with $, or the corner of a range, stays a reference
// past the grid.
bool IsNamePastGrid(std::string_view text, size_t at);

// A reference from `at`: A1, $A$1, A1:B2, A:B or 1:2, its second corner of
// the first's shape. Moves `at` past it; answers false, leaving `at`, when
// none starts there (`pastGrid` set for a cell beyond XFD1048576).
bool ReadCorners(std::string_view text, size_t& at, Corner* first, Corner* last, bool* pastGrid);
// Whether the text starts as a cell past the grid's last column or row.
bool IsCellPastGrid(std::string_view text);

// A cell or rectangle written alone, such as "B3" or "$A$1:B2"; false when
// the text is no reference.
bool ReadArea(std::string_view text, Area* area);

}  // namespace xllhost
