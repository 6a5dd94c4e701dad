#include "formulas/Reference.h"

#include <algorithm>
#include <cctype>

#include "formulas/Literals.h"  // IsNameChar

namespace xllhost {

std::string ColumnName(int column) {
  std::string letters;
  for (int n = column + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

std::string CellName(int row, int column) { return ColumnName(column) + std::to_string(row + 1); }

std::string AreaName(const Area& area) {
  std::string first = CellName(area.firstRow, area.firstColumn);
  return area.IsCell() ? first : first + ":" + CellName(area.lastRow, area.lastColumn);
}

namespace {

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

bool ReadCorner(std::string_view text, size_t& at, Corner* corner, bool* pastGrid) {
  size_t i = at;
  Corner read;
  read.columnFixed = i < text.size() && text[i] == '$';
  if (read.columnFixed) ++i;
  size_t letters = 0;
  long long column = 0;
  while (i < text.size() && IsLetter(text[i]) && letters < 4) {
    column = column * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
    ++i, ++letters;
  }
  if (letters == 0) {
    read.columnFixed = false;
    i = at;
  }
  read.rowFixed = i < text.size() && text[i] == '$';
  if (read.rowFixed) ++i;
  size_t digits = 0;
  long long row = 0;
  while (i < text.size() && IsDigit(text[i]) && digits < 8) {
    row = row * 10 + (text[i] - '0');
    ++i, ++digits;
  }
  if (digits == 0 && read.rowFixed) return false;
  if (letters == 0 && digits == 0) return false;
  // A name goes on after the corner, as in A1B or LOG10X.
  if (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_' || text[i] == '.'))
    return false;
  if (letters == 4 || column > MaxColumns || digits == 8 || row > MaxRows || (digits > 0 && row == 0)) {
    if (letters > 0 && digits > 0) *pastGrid = true;
    return false;
  }
  read.hasColumn = letters > 0;
  read.hasRow = digits > 0;
  read.column = letters == 0 ? 0 : static_cast<int>(column - 1);
  read.row = digits == 0 ? 0 : static_cast<int>(row - 1);
  *corner = read;
  at = i;
  return true;
}

bool ReadCorners(std::string_view text, size_t& at, Corner* first, Corner* last, bool* pastGrid) {
  size_t end = at;
  if (!ReadCorner(text, end, first, pastGrid)) return false;
  const bool cell = first->hasRow && first->hasColumn;
  *last = *first;
  if (end < text.size() && text[end] == ':') {
    size_t after = end + 1;
    Corner second;
    if (ReadCorner(text, after, &second, pastGrid) && second.hasRow == first->hasRow &&
        second.hasColumn == first->hasColumn) {
      *last = second;
      end = after;
    } else if (*pastGrid || !cell) {
      return false;
    }
  } else if (!cell) {
    return false;  // a column's letters or a row's digits alone are no reference
  }
  at = end;
  return true;
}

bool IsNamePastGrid(std::string_view text, size_t at) {
  size_t end = at;
  while (end < text.size() && IsNameChar(text[end])) ++end;
  return end > at && text.substr(at, end - at).find('$') == std::string_view::npos &&
         (end == text.size() || text[end] != ':');
}

bool IsCellPastGrid(std::string_view text) {
  size_t at = 0;
  Corner first, last;
  bool pastGrid = false;
  return !ReadCorners(text, at, &first, &last, &pastGrid) && pastGrid;
}

bool ReadArea(std::string_view text, Area* area) {
  size_t at = 0;
  Corner first, last;
  bool pastGrid = false;
  if (!ReadCorners(text, at, &first, &last, &pastGrid) || !first.hasRow || !first.hasColumn || at != text.size())
    return false;
  area->firstRow = std::min(first.row, last.row);
  area->lastRow = std::max(first.row, last.row);
  area->firstColumn = std::min(first.column, last.column);
  area->lastColumn = std::max(first.column, last.column);
  return true;
}

Area Resolve(const Corner& first, const Corner& last, int row, int column) {
  auto rowOf = [&](const Corner& c, int whole) {
    return !c.hasRow ? whole : c.rowFixed ? c.row : c.row + row;
  };
  auto columnOf = [&](const Corner& c, int whole) {
    return !c.hasColumn ? whole : c.columnFixed ? c.column : c.column + column;
  };
  const int r1 = rowOf(first, 0), r2 = rowOf(last, MaxRows - 1);
  const int c1 = columnOf(first, 0), c2 = columnOf(last, MaxColumns - 1);
  return Area{std::min(r1, r2), std::max(r1, r2), std::min(c1, c2), std::max(c1, c2)};
}

}  // namespace xllhost
