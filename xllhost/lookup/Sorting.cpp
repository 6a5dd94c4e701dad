#include "lookup/Sorting.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "builtins/Operators.h"
#include "lookup/ArrayParts.h"

namespace xllhost {

// SORT orders as the comparison operators do (numbers, then texts without
// case, then Booleans), stably; an error or an empty cell among the keys is
// left not calculated, as Microsoft's help does not place them.
Value Sort(const BuiltinCall& c) {
  const Grid grid(c.Values(0));
  double index = 1, order = 1;
  bool across = false;
  Value error;
  if (!Whole(c, 1, 1, &index, &error) || !Whole(c, 2, 1, &order, &error) || !Flag(c, 3, &across, &error)) return error;
  const int count = across ? grid.columns : grid.rows, keys = across ? grid.rows : grid.columns;
  if (index < 1 || index > keys || (order != 1 && order != -1)) return ErrorValue(xlerrValue);
  const int key = static_cast<int>(index) - 1;
  std::vector<int> lines = Kept(count, count, false);
  for (int line : lines) {
    const Value& value = across ? grid.At(key, line) : grid.At(line, key);
    if (value.Is(xltypeErr) || value.Is(xltypeNil)) return c.NotCalculated("SORT by keys holding errors or empty cells");
  }
  std::stable_sort(lines.begin(), lines.end(), [&](int a, int b) {
    const int sign = Order(across ? grid.At(key, a) : grid.At(a, key), across ? grid.At(key, b) : grid.At(b, key));
    return order > 0 ? sign < 0 : sign > 0;
  });
  return Lines(grid, lines, across);
}

// SORTBY orders the array's rows by columns of keys as tall, or its columns
// by rows as wide, each key ascending (1) or descending (-1), the first
// deciding first, stably; keys as SORT reads them.
Value SortBy(const BuiltinCall& c) {
  const Grid grid(c.Values(0));
  std::vector<std::pair<Grid, double>> keys;
  Value error;
  for (size_t i = 1; i < c.args.size(); i += 2) {
    double order = 1;
    if (!Whole(c, i + 1, 1, &order, &error)) return error;
    if (order != 1 && order != -1) return ErrorValue(xlerrValue);
    keys.emplace_back(Grid(c.Values(i)), order);
  }
  const Grid& first = keys.front().first;
  const bool across = first.rows == 1 && first.columns == grid.columns && !(first.columns == 1 && grid.rows == 1);
  const int count = across ? grid.columns : grid.rows;
  for (const auto& [key, order] : keys) {
    if (across ? key.rows != 1 || key.columns != count : key.columns != 1 || key.rows != count)
      return ErrorValue(xlerrValue);
    for (int line = 0; line < count; ++line)
      if (key[line].Is(xltypeErr) || key[line].Is(xltypeNil))
        return c.NotCalculated("SORTBY by keys holding errors or empty cells");
  }
  std::vector<int> lines = Kept(count, count, false);
  std::stable_sort(lines.begin(), lines.end(), [&](int a, int b) {
    for (const auto& [key, order] : keys)
      if (const int sign = Order(key[a], key[b]); sign != 0) return order > 0 ? sign < 0 : sign > 0;
    return false;
  });
  return Lines(grid, lines, across);
}

}  // namespace xllhost
