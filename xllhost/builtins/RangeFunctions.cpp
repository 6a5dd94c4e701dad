#include "RangeFunctions.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "Operators.h"

namespace xllhost {
namespace {

// The shape of an operand: a reference's area, an array's or one value's.
void Shape(const BuiltinCall& c, int* rows, int* columns) {
  const Operand& arg = c.args[0];
  if (arg.IsReference()) {
    *rows = arg.area.Rows();
    *columns = arg.area.Columns();
  } else if (arg.value.Is(xltypeMulti)) {
    *rows = arg.value.rows;
    *columns = arg.value.columns;
  } else {
    *rows = *columns = 1;
  }
}

}  // namespace

Value Rows(const BuiltinCall& c) {
  int rows = 0, columns = 0;
  Shape(c, &rows, &columns);
  return NumberValue(rows);
}
Value Columns(const BuiltinCall& c) {
  int rows = 0, columns = 0;
  Shape(c, &rows, &columns);
  return NumberValue(columns);
}
// INDEX(array, row, [column]): one element, or with a row or column of 0
// a whole column or row, answered as values.
Value Index(const BuiltinCall& c) {
  const Value array = c.Values(0);
  double row = 0, column = 0;
  Value error;
  if ((c.Given(1) && !AsNumber(c.Scalar(1), &row, &error)) || (c.Given(2) && !AsNumber(c.Scalar(2), &column, &error)))
    return error;
  const int rows = array.Is(xltypeMulti) ? array.rows : 1, columns = array.Is(xltypeMulti) ? array.columns : 1;
  // A single row or column is indexed by the one number given.
  if (!c.Given(2) && rows == 1 && columns > 1) std::swap(row, column);
  if (!c.Given(2) && columns == 1 && rows >= 1 && column == 0 && c.Given(1)) column = 1;
  const int r = static_cast<int>(row), k = static_cast<int>(column);
  if (r < 0 || k < 0 || r > rows || k > columns) return ErrorValue(xlerrRef);
  auto at = [&](int i, int j) { return array.Is(xltypeMulti) ? array.elements[static_cast<size_t>(i * columns + j)] : array; };
  if (r > 0 && k > 0) return at(r - 1, k - 1);
  Value part;
  part.xltype = xltypeMulti;
  part.rows = r > 0 ? 1 : rows;
  part.columns = k > 0 ? 1 : columns;
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < columns; ++j)
      if ((r == 0 || i == r - 1) && (k == 0 || j == k - 1)) part.elements.push_back(at(i, j));
  return part;
}
Value Transpose(const BuiltinCall& c) {
  const Value array = c.Values(0);
  if (!array.Is(xltypeMulti)) return array;
  Value turned;
  turned.xltype = xltypeMulti;
  turned.rows = array.columns;
  turned.columns = array.rows;
  for (int j = 0; j < array.columns; ++j)
    for (int i = 0; i < array.rows; ++i) turned.elements.push_back(array.elements[static_cast<size_t>(i * array.columns + j)]);
  return turned;
}


namespace {

// Whether a text matches a pattern of Excel's wildcards, both upper case: ?
// stands for one character, * for any run, ~ makes the next one plain.
bool Matches(const char* pattern, const char* text) {
  for (; *pattern != 0; ++pattern, ++text) {
    if (*pattern == '*') {
      for (;; ++text) {
        if (Matches(pattern + 1, text)) return true;
        if (*text == 0) return false;
      }
    }
    if (*pattern == '~' && (pattern[1] == '*' || pattern[1] == '?' || pattern[1] == '~')) ++pattern;
    else if (*pattern == '?' && *text != 0) continue;
    if (*pattern != *text) return false;
  }
  return *text == 0;
}

bool SameKind(const Value& a, const Value& b) {
  auto kind = [](const Value& v) { return v.Is(xltypeStr) ? 1 : v.Is(xltypeBool) ? 2 : v.Is(xltypeNum) ? 0 : -1; };
  return kind(a) >= 0 && kind(a) == kind(b);
}

// VLOOKUP and HLOOKUP: the key looked up along the table's first column
// (`down`) or first row, and the value `index` columns or rows in. An exact
// match takes the first equal key, texts by Excel's wildcards; an
// approximate one the last key not above it among those of its kind, which
// on keys sorted ascending, as Excel asks for, is Excel's answer.
Value Lookup(const BuiltinCall& c, bool down) {
  const Value table = c.Values(1);
  double index = 0;
  bool approximate = true;
  Value error;
  if (!AsNumber(c.Scalar(2), &index, &error)) return error;
  // Written empty, the fourth argument is FALSE.
  if (c.args.size() > 3 && !c.args[3].value.Is(xltypeMissing) && !AsBoolean(c.Scalar(3), &approximate, &error))
    return error;
  if (c.args.size() > 3 && c.args[3].value.Is(xltypeMissing)) approximate = false;
  const int rows = table.Is(xltypeMulti) ? table.rows : 1, columns = table.Is(xltypeMulti) ? table.columns : 1;
  const int keys = down ? rows : columns, across = down ? columns : rows;
  auto at = [&](int key, int offset) -> const Value& {
    if (!table.Is(xltypeMulti)) return table;
    const int r = down ? key : offset, k = down ? offset : key;
    return table.elements[static_cast<size_t>(r * columns + k)];
  };
  const int offset = static_cast<int>(std::trunc(index)) - 1;
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    const Value& key = v[0];
    if (key.Is(xltypeErr)) return key;
    if (offset < 0) return ErrorValue(xlerrValue);
    if (offset >= across) return ErrorValue(xlerrRef);
    const std::string pattern = key.Is(xltypeStr) ? Upper(key.text) : "";
    int found = -1;
    for (int i = 0; i < keys; ++i) {
      const Value& candidate = at(i, 0);
      if (!SameKind(candidate, key)) continue;
      if (!approximate) {
        const bool equal = key.Is(xltypeStr) ? Matches(pattern.c_str(), Upper(candidate.text).c_str())
                                             : Order(candidate, key) == 0;
        if (!equal) continue;
        found = i;
        break;
      }
      if (Order(candidate, key) > 0) break;
      found = i;
    }
    return found < 0 ? ErrorValue(xlerrNA) : at(found, offset);
  });
}

}  // namespace

Value VLookup(const BuiltinCall& c) { return Lookup(c, true); }
Value HLookup(const BuiltinCall& c) { return Lookup(c, false); }

}  // namespace xllhost
