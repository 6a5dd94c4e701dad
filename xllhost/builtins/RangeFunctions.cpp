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

}  // namespace xllhost
