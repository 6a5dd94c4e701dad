#include "lookup/RangeFunctions.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "builtins/Criteria.h"
#include "builtins/Operators.h"

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
  const Grid grid(c.Values(0));
  if (!grid.values.Is(xltypeMulti)) return grid.values;
  Value turned = ArrayValue(static_cast<size_t>(grid.columns), static_cast<size_t>(grid.rows));
  for (int j = 0; j < grid.columns; ++j)
    for (int i = 0; i < grid.rows; ++i) turned.elements[static_cast<size_t>(j * grid.rows + i)] = grid.At(i, j);
  return turned;
}

namespace {

// VLOOKUP and HLOOKUP: the key looked up along the table's first column
// (`down`) or first row, exactly or approximately (match type 0 or 1), and
// the value `index` columns or rows in. A table given as a reference is
// read only where the lookup looks: its keys, then the one cell answered.
Value Lookup(const BuiltinCall& c, bool down) {
  const Operand& given = c.args[1];
  double index = 0;
  bool approximate = true;
  Value error;
  if (!AsNumber(c.Scalar(2), &index, &error)) return error;
  // Written empty, the fourth argument is FALSE.
  if (c.args.size() > 3 && !c.args[3].value.Is(xltypeMissing) && !AsBoolean(c.Scalar(3), &approximate, &error))
    return error;
  if (c.args.size() > 3 && c.args[3].value.Is(xltypeMissing)) approximate = false;
  const Area& area = given.area;
  const Grid table(given.IsReference() ? Value{} : c.Values(1));
  const int rows = given.IsReference() ? area.Rows() : table.rows;
  const int columns = given.IsReference() ? area.Columns() : table.columns;
  const Grid keys(!given.IsReference() ? Value{}
                  : AreaValues(c.book, given.sheet,
                               down ? Area{area.firstRow, area.lastRow, area.firstColumn, area.firstColumn}
                                    : Area{area.firstRow, area.firstRow, area.firstColumn, area.lastColumn},
                               c.notCalculated));
  const auto key = [&](int i) -> const Value& {
    if (!given.IsReference()) return down ? table.At(i, 0) : table.At(0, i);
    return down ? keys.At(i, 0) : keys.At(0, i);
  };
  const int offset = static_cast<int>(std::trunc(index)) - 1;
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    const Value& sought = v[0];
    if (sought.Is(xltypeErr)) return sought;
    if (offset < 0) return ErrorValue(xlerrValue);
    if (offset >= (down ? columns : rows)) return ErrorValue(xlerrRef);
    const int found = Position(down ? rows : columns, key, sought, approximate ? 1 : 0);
    if (found < 0) return ErrorValue(xlerrNA);
    const int row = down ? found : offset, column = down ? offset : found;
    if (!given.IsReference()) return table.At(row, column);
    const int r = area.firstRow + row, k = area.firstColumn + column;
    return AreaValues(c.book, given.sheet, Area{r, r, k, k}, c.notCalculated);
  });
}

}  // namespace

Value VLookup(const BuiltinCall& c) { return Lookup(c, true); }
Value HLookup(const BuiltinCall& c) { return Lookup(c, false); }

// MATCH(key, keys, [type]): the key's position, from 1, in one row or
// column of keys; type 1 (the default), 0 or -1 as Position.
Value Match(const BuiltinCall& c) {
  const Value keys = c.Values(1);
  double type = 1;
  Value error;
  if (c.Given(2) && !AsNumber(c.Scalar(2), &type, &error)) return error;
  if (c.args.size() > 2 && !c.Given(2)) type = 0;  // written empty
  const int count = keys.Is(xltypeMulti) ? keys.rows * keys.columns : 1;
  if (keys.Is(xltypeMulti) && keys.rows > 1 && keys.columns > 1) return ErrorValue(xlerrNA);
  const int sign = type > 0 ? 1 : type < 0 ? -1 : 0;
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    if (v[0].Is(xltypeErr)) return v[0];
    const int found = Position(
        count, [&](int i) -> const Value& { return keys.Is(xltypeMulti) ? keys.elements[static_cast<size_t>(i)] : keys; },
        v[0], sign);
    return found < 0 ? ErrorValue(xlerrNA) : NumberValue(found + 1);
  });
}

namespace {

// ROW and COLUMN: of the reference's first cell, or of the formula's own.
Value Where(const BuiltinCall& c, bool row) {
  if (!c.Given(0)) return NumberValue((row ? c.place.row : c.place.column) + 1);
  const Operand& arg = c.args[0];
  if (!arg.IsReference()) return ErrorValue(xlerrValue);
  return NumberValue((row ? arg.area.firstRow : arg.area.firstColumn) + 1);
}

// A rectangle of a sheet as a built-in answers a reference; #REF! when it
// leaves the sheet.
Value ReferenceTo(int sheet, const Area& area) {
  if (!area.InGrid()) return ErrorValue(xlerrRef);
  return AreaReference(area.firstRow, area.lastRow, area.firstColumn, area.lastColumn, Workbook::SheetId(sheet));
}

}  // namespace

// OFFSET(reference, rows, columns, [height], [width]): the reference moved,
// and sized as given or as it was.
Value Offset(const BuiltinCall& c) {
  const Operand& from = c.args[0];
  if (!from.IsReference()) return from.value.Is(xltypeErr) ? from.value : ErrorValue(xlerrValue);
  double moves[4] = {0, 0, static_cast<double>(from.area.Rows()), static_cast<double>(from.area.Columns())};
  Value error;
  for (size_t i = 1; i < 5; ++i)
    if (c.Given(i) && !AsNumber(c.Scalar(i), &moves[i - 1], &error)) return error;
  for (double& move : moves) {
    move = std::trunc(move);
    if (std::fabs(move) > MaxRows) return ErrorValue(xlerrRef);
  }
  if (moves[2] < 1 || moves[3] < 1) return ErrorValue(xlerrRef);
  const int row = from.area.firstRow + static_cast<int>(moves[0]), column = from.area.firstColumn + static_cast<int>(moves[1]);
  return ReferenceTo(from.sheet, Area{row, row + static_cast<int>(moves[2]) - 1, column, column + static_cast<int>(moves[3]) - 1});
}

// INDIRECT(text, [a1]): the reference the text writes, as the formula's own
// cell reads it; #REF! when the text is none. R1C1 style is not calculated.
Value Indirect(const BuiltinCall& c) {
  std::string text;
  bool a1 = true;
  Value error;
  if (!AsText(c.Scalar(0), &text, &error)) return error;
  if (c.Given(1) && !AsBoolean(c.Scalar(1), &a1, &error)) return error;
  if (!a1) return c.NotCalculated("INDIRECT in R1C1 style");
  Formula formula;
  std::string why;
  if (!ParseFormula("=" + text, c.place.row, c.place.column, &formula, &why) ||
      formula.root.kind != ExprKind::Reference)
    return ErrorValue(xlerrRef);
  const Expr& reference = formula.root;
  const int sheet = reference.sheet.empty() ? c.place.sheet : c.book.FindSheet(reference.sheet);
  if (sheet < 0) return ErrorValue(xlerrRef);
  return ReferenceTo(sheet, Resolve(reference.first, reference.last, c.place.row, c.place.column));
}

Value Row(const BuiltinCall& c) { return Where(c, true); }
Value Column(const BuiltinCall& c) { return Where(c, false); }

// CHOOSE(index, value1, ...): the value the index picks (its fraction cut
// off), a reference answered as one, as SUM(CHOOSE(2,A1:A2,B1:B2)) reads
// it; an index outside the values is #VALUE!.
int ChooseIndexed(const std::vector<Value>& calculated, int last) {
  double index = 0;
  Value error;
  if (last != 0 || !AsNumber(calculated[0], &index, &error)) return -1;
  return index >= 1 && index < 256 ? static_cast<int>(index) : -1;
}
Value Choose(const BuiltinCall& c) {
  const Value first = c.Scalar(0);
  if (first.Is(xltypeMulti)) return c.NotCalculated("CHOOSE of an array of indexes");
  double index = 0;
  Value error;
  if (!AsNumber(first, &index, &error)) return error;
  if (index < 1 || index >= static_cast<double>(c.args.size())) return ErrorValue(xlerrValue);
  const Operand& picked = c.args[static_cast<size_t>(index)];
  if (picked.IsReference()) return ReferenceTo(picked.sheet, picked.area);
  return c.Given(static_cast<size_t>(index)) ? picked.value : NumberValue(0);
}

}  // namespace xllhost
