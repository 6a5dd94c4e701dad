#include "lookup/Lookups.h"

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "builtins/Criteria.h"
#include "builtins/Operators.h"
#include "formulas/Reference.h"  // ColumnName

namespace xllhost {
namespace {

// A row or a column of cells, element i along it; false for a rectangle
// of several of each.
bool LineOf(Value values, Grid* line) {
  *line = Grid(std::move(values));
  return line->rows == 1 || line->columns == 1;
}
int Length(const Grid& line) { return static_cast<int>(line.Count()); }

// XLOOKUP's and XMATCH's search: match mode 0 an equal key (texts in any
// case), -1 that or the next smaller, 1 that or the next larger, 2 a text
// by Excel's wildcards; search mode 1 from the first, -1 from the last. The
// binary searches (2, -2) are left uncalculated: which of equal keys they
// find is not documented.
bool Modes(const BuiltinCall& c, size_t at, int* match, int* search, Value* error) {
  double m = 0, s = 1;
  if ((c.Given(at) && !AsNumber(c.Scalar(at), &m, error)) || (c.Given(at + 1) && !AsNumber(c.Scalar(at + 1), &s, error)))
    return false;
  if ((m != 0 && m != -1 && m != 1 && m != 2) || (s != 1 && s != -1 && s != 2 && s != -2))
    return *error = ErrorValue(xlerrValue), false;
  if (s == 2 || s == -2) return *error = c.NotCalculated("XLOOKUP or XMATCH by binary search"), false;
  *match = static_cast<int>(m), *search = static_cast<int>(s);
  return true;
}

int Found(const Grid& keys, const Value& key, int match, int search) {
  int best = -1;
  for (int n = 0; n < Length(keys); ++n) {
    const int i = search > 0 ? n : Length(keys) - 1 - n;
    const Value& candidate = keys[static_cast<size_t>(i)];
    if (match == 2 && key.Is(xltypeStr)) {
      if (candidate.Is(xltypeStr) && MatchesWildcards(key.text, candidate.text)) return i;
      continue;
    }
    if (!SameKind(candidate, key)) continue;
    const int order = Order(candidate, key);
    if (order == 0) return i;
    const bool nearer = best < 0 || (match < 0 ? Order(candidate, keys[static_cast<size_t>(best)]) > 0 : Order(candidate, keys[static_cast<size_t>(best)]) < 0);
    if (match != 0 && match != 2 && (match < 0 ? order < 0 : order > 0) && nearer) best = i;
  }
  return best;
}

}  // namespace

// LOOKUP: the last key not above the key, on keys sorted ascending, and the
// result in the same place; of an array, keys along its first row when it
// is wider than tall, else its first column, and results along its last.
Value LookupOf(const BuiltinCall& c) {
  const Value key = c.Scalar(0);
  if (key.Is(xltypeErr)) return key;
  if (key.Is(xltypeMulti)) return c.NotCalculated("LOOKUP of several keys");
  const Value table = c.Values(1);
  const int rows = table.Is(xltypeMulti) ? table.rows : 1, columns = table.Is(xltypeMulti) ? table.columns : 1;
  auto cell = [&](int r, int k) -> const Value& {
    return table.Is(xltypeMulti) ? table.elements[static_cast<size_t>(r * columns + k)] : table;
  };
  if (!c.Given(2)) {
    const bool across = columns > rows;
    const int count = across ? columns : rows;
    const int found = Position(count, [&](int i) -> const Value& { return across ? cell(0, i) : cell(i, 0); }, key, 1);
    if (found < 0) return ErrorValue(xlerrNA);
    return across ? cell(rows - 1, found) : cell(found, columns - 1);
  }
  Grid keys, results;
  if (!LineOf(table, &keys) || !LineOf(c.Values(2), &results)) return ErrorValue(xlerrNA);
  const int found = Position(Length(keys), [&](int i) -> const Value& { return keys[static_cast<size_t>(i)]; }, key, 1);
  if (found < 0) return ErrorValue(xlerrNA);
  if (found >= Length(results)) return c.NotCalculated("LOOKUP past the end of a shorter result vector");
  return results[static_cast<size_t>(found)];
}

Value XMatch(const BuiltinCall& c) {
  const Value key = c.Scalar(0);
  Grid keys;
  int match = 0, search = 1;
  Value error;
  if (key.Is(xltypeErr)) return key;
  if (key.Is(xltypeMulti)) return c.NotCalculated("XMATCH of several keys, which spill");
  if (!LineOf(c.Values(1), &keys)) return ErrorValue(xlerrValue);
  if (!Modes(c, 2, &match, &search, &error)) return error;
  const int found = Found(keys, key, match, search);
  return found < 0 ? ErrorValue(xlerrNA) : NumberValue(found + 1);
}

// XLOOKUP: the result along the keys' row or column; results of more than
// one row or column answer several cells, which spill, and are left
// uncalculated.
Value XLookup(const BuiltinCall& c) {
  const Value key = c.Scalar(0);
  Grid keys, results;
  int match = 0, search = 1;
  Value error;
  if (key.Is(xltypeErr)) return key;
  if (key.Is(xltypeMulti)) return c.NotCalculated("XLOOKUP of several keys, which spill");
  if (!LineOf(c.Values(1), &keys)) return ErrorValue(xlerrValue);
  if (!LineOf(c.Values(2), &results)) return c.NotCalculated("XLOOKUP answering several cells, which spill");
  if (Length(results) != Length(keys)) return ErrorValue(xlerrValue);
  if (!Modes(c, 4, &match, &search, &error)) return error;
  const int found = Found(keys, key, match, search);
  if (found >= 0) return results[static_cast<size_t>(found)];
  return c.Given(3) ? c.Scalar(3) : ErrorValue(xlerrNA);
}

// ADDRESS: abs 1 $A$1, 2 A$1, 3 $A1, 4 A1, in A1 style or (a1 FALSE) R1C1
// with relative parts in brackets. A sheet name that would need quotes is
// left uncalculated: Microsoft's help does not say when ADDRESS quotes.
Value Address(const BuiltinCall& c) {
  double row = 0, column = 0, abs = 1;
  bool a1 = true;
  std::string sheet;
  Value error;
  if (!AsNumber(c.Scalar(0), &row, &error) || !AsNumber(c.Scalar(1), &column, &error) ||
      (c.Given(2) && !AsNumber(c.Scalar(2), &abs, &error)) || (c.Given(3) && !AsBoolean(c.Scalar(3), &a1, &error)) ||
      (c.Given(4) && !AsText(c.Scalar(4), &sheet, &error)))
    return error;
  row = std::trunc(row), column = std::trunc(column), abs = std::trunc(abs);
  if (row < 1 || row > 1048576 || column < 1 || column > 16384 || abs < 1 || abs > 4) return ErrorValue(xlerrValue);
  for (char ch : sheet)
    if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_')
      return c.NotCalculated("ADDRESS of a sheet whose name needs quotes");
  if (!sheet.empty() && std::isdigit(static_cast<unsigned char>(sheet[0])))
    return c.NotCalculated("ADDRESS of a sheet whose name needs quotes");
  const bool rowFixed = abs == 1 || abs == 2, columnFixed = abs == 1 || abs == 3;
  const std::string r = std::to_string(static_cast<long>(row)), k = std::to_string(static_cast<long>(column));
  const std::string cell = a1 ? (columnFixed ? "$" : "") + ColumnName(static_cast<int>(column) - 1) + (rowFixed ? "$" : "") + r
                              : "R" + (rowFixed ? r : "[" + r + "]") + "C" + (columnFixed ? k : "[" + k + "]");
  return TextValue(sheet.empty() ? cell : sheet + "!" + cell);
}

Value Areas(const BuiltinCall& c) { return c.args[0].IsReference() ? NumberValue(1) : ErrorValue(xlerrValue); }

}  // namespace xllhost
