#include "Builtins.h"

#include <cmath>
#include <functional>

#include "Coerce.h"

namespace xllhost {
namespace {

Value Number(double number) {
  if (!std::isfinite(number)) return ErrorValue(xlerrNum);
  return NumberValue(number);
}

// A value taken as a number, as a cell's formula takes it; answers false
// with the error the formula then shows.
bool AsNumber(const Value& value, double* number, Value* error) {
  if (value.Is(xltypeErr)) return *error = value, false;
  Value converted;
  if (value.Is(xltypeMulti) || !CoerceValue(value, xltypeNum, Interface::Excel12, &converted))
    return *error = ErrorValue(xlerrValue), false;
  *number = converted.num;
  return true;
}

bool AsText(const Value& value, std::string* text, Value* error) {
  if (value.Is(xltypeErr)) return *error = value, false;
  if (value.Is(xltypeMulti)) return *error = ErrorValue(xlerrValue), false;
  *text = value.Is(xltypeStr) ? value.text : Display(value);
  return true;
}

bool AsBoolean(const Value& value, bool* boolean, Value* error) {
  if (value.Is(xltypeErr)) return *error = value, false;
  Value converted;
  if (value.Is(xltypeMulti) || !CoerceValue(value, xltypeBool, Interface::Excel12, &converted))
    return *error = ErrorValue(xlerrValue), false;
  *boolean = converted.boolean;
  return true;
}

// Applies `scalar` to each element of the arrays among the values, a
// single value standing for every element, as Excel's array arithmetic
// does; an element beyond a smaller array is #N/A.
Value ElementWise(const std::vector<Value>& values, const std::function<Value(const std::vector<Value>&)>& scalar) {
  int rows = 0, columns = 0;
  for (const Value& value : values)
    if (value.Is(xltypeMulti)) {
      rows = std::max(rows, value.rows);
      columns = std::max(columns, value.columns);
    }
  if (rows == 0) return scalar(values);
  Value result;
  result.xltype = xltypeMulti;
  result.rows = rows;
  result.columns = columns;
  std::vector<Value> element(values.size());
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      bool beyond = false;
      for (size_t i = 0; i < values.size(); ++i) {
        const Value& value = values[i];
        if (!value.Is(xltypeMulti)) {
          element[i] = value;
          continue;
        }
        const int vr = value.rows == 1 ? 0 : r, vc = value.columns == 1 ? 0 : c;
        beyond = beyond || vr >= value.rows || vc >= value.columns;
        if (!beyond) element[i] = value.elements[static_cast<size_t>(vr * value.columns + vc)];
      }
      result.elements.push_back(beyond ? ErrorValue(xlerrNA) : scalar(element));
    }
  return result;
}

Value Arithmetic(const std::string& op, const Value& left, const Value& right) {
  double a = 0, b = 0;
  Value error;
  if (!AsNumber(left, &a, &error) || !AsNumber(right, &b, &error)) return error;
  switch (op[0]) {
    case '+': return Number(a + b);
    case '-': return Number(a - b);
    case '*': return Number(a * b);
    case '/': return b == 0 ? ErrorValue(xlerrDiv0) : Number(a / b);
    default:  // ^
      if (a == 0 && b == 0) return ErrorValue(xlerrNum);
      if (a == 0 && b < 0) return ErrorValue(xlerrDiv0);
      return Number(std::pow(a, b));
  }
}

// Numbers before texts before Booleans; an empty cell is 0, "" or FALSE
// as the other side asks; texts ignore case.
int Rank(const Value& value) { return value.Is(xltypeStr) ? 1 : value.Is(xltypeBool) ? 2 : 0; }

Value Compare(const std::string& op, Value left, Value right) {
  if (left.Is(xltypeErr)) return left;
  if (right.Is(xltypeErr)) return right;
  auto empty = [](Value& value, const Value& other) {
    if (!value.Is(xltypeNil) && !value.Is(xltypeMissing)) return;
    value = other.Is(xltypeStr) ? TextValue("") : other.Is(xltypeBool) ? BooleanValue(false) : NumberValue(0);
  };
  empty(left, right);
  empty(right, left);
  int order = Rank(left) - Rank(right);
  if (order == 0) {
    if (left.Is(xltypeStr)) {
      const std::string a = Upper(left.text), b = Upper(right.text);
      order = a < b ? -1 : a > b ? 1 : 0;
    } else {
      const double a = left.Is(xltypeBool) ? left.boolean : left.num, b = right.Is(xltypeBool) ? right.boolean : right.num;
      order = a < b ? -1 : a > b ? 1 : 0;
    }
  }
  if (op == "=") return BooleanValue(order == 0);
  if (op == "<>") return BooleanValue(order != 0);
  if (op == "<") return BooleanValue(order < 0);
  if (op == "<=") return BooleanValue(order <= 0);
  if (op == ">") return BooleanValue(order > 0);
  return BooleanValue(order >= 0);
}

// The values an aggregate takes from each argument: from a reference or
// an array, numbers only (and, with `logical`, Booleans); given directly,
// anything that converts.
template <typename Take>
bool Each(const BuiltinCall& call, bool logical, Take take, Value* error) {
  for (size_t i = 0; i < call.args.size(); ++i) {
    if (!call.Given(i)) continue;
    const Operand& arg = call.args[i];
    if (arg.IsReference() || arg.value.Is(xltypeMulti)) {
      const Value values = call.Values(i);
      const std::vector<Value> one{values};
      for (const Value& element : values.Is(xltypeMulti) ? values.elements : one) {
        if (element.Is(xltypeErr)) return *error = element, false;
        if (element.Is(xltypeNum)) take(element.num);
        if (logical && element.Is(xltypeBool)) take(element.boolean ? 1.0 : 0.0);
      }
      continue;
    }
    double number = 0;
    if (logical && arg.value.Is(xltypeStr)) {
      bool boolean = false;
      if (!AsBoolean(arg.value, &boolean, error)) return false;
      take(boolean ? 1.0 : 0.0);
      continue;
    }
    if (!AsNumber(arg.value, &number, error)) return false;
    take(number);
  }
  return true;
}

template <typename Fold>
Value Aggregate(const BuiltinCall& call, double start, Fold fold, bool emptyIsError = false) {
  double result = start;
  size_t count = 0;
  Value error;
  if (!Each(call, false, [&](double n) { result = count++ == 0 && std::isnan(start) ? n : fold(result, n); }, &error))
    return error;
  if (count == 0) return emptyIsError ? ErrorValue(xlerrDiv0) : NumberValue(0);
  return Number(result);
}

// A function of one number, element by element over an array.
Value Numeric(const BuiltinCall& call, size_t i, const std::function<Value(double)>& f) {
  return ElementWise({call.Scalar(i)}, [&](const std::vector<Value>& v) {
    double n = 0;
    Value error;
    return AsNumber(v[0], &n, &error) ? f(n) : error;
  });
}

Value Sum(const BuiltinCall& c) { return Aggregate(c, 0, [](double a, double b) { return a + b; }); }
Value ProductOf(const BuiltinCall& c) { return Aggregate(c, 1, [](double a, double b) { return a * b; }); }
Value MinOf(const BuiltinCall& c) { return Aggregate(c, NAN, [](double a, double b) { return std::min(a, b); }); }
Value MaxOf(const BuiltinCall& c) { return Aggregate(c, NAN, [](double a, double b) { return std::max(a, b); }); }
Value Average(const BuiltinCall& c) {
  double sum = 0;
  size_t count = 0;
  Value error;
  if (!Each(c, false, [&](double n) { sum += n, ++count; }, &error)) return error;
  return count == 0 ? ErrorValue(xlerrDiv0) : Number(sum / static_cast<double>(count));
}
Value Abs(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return Number(std::fabs(n)); }); }
Value Sqrt(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return n < 0 ? ErrorValue(xlerrNum) : Number(std::sqrt(n)); });
}
Value Exp(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return Number(std::exp(n)); }); }
Value Ln(const BuiltinCall& c) {
  return Numeric(c, 0, [](double n) { return n <= 0 ? ErrorValue(xlerrNum) : Number(std::log(n)); });
}
Value Int(const BuiltinCall& c) { return Numeric(c, 0, [](double n) { return Number(std::floor(n)); }); }
Value Pi(const BuiltinCall&) { return NumberValue(3.14159265358979323846); }

// A function of two numbers, element by element; the second may be absent.
Value Numeric2(const BuiltinCall& call, double absent, const std::function<Value(double, double)>& f) {
  const Value second = call.Given(1) ? call.Scalar(1) : NumberValue(absent);
  return ElementWise({call.Scalar(0), second}, [&](const std::vector<Value>& v) {
    double a = 0, b = 0;
    Value error;
    if (!AsNumber(v[0], &a, &error) || !AsNumber(v[1], &b, &error)) return error;
    return f(a, b);
  });
}

Value Log(const BuiltinCall& c) {
  return Numeric2(c, 10, [](double n, double base) {
    if (n <= 0 || base <= 0) return ErrorValue(xlerrNum);
    if (base == 1) return ErrorValue(xlerrDiv0);
    return Number(std::log(n) / std::log(base));
  });
}
Value Power(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double a, double b) { return Arithmetic("^", NumberValue(a), NumberValue(b)); });
}
// Halves away from zero, as Excel rounds.
Value Round(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double n, double digits) {
    const double scale = std::pow(10.0, std::trunc(digits));
    if (!std::isfinite(scale) || scale == 0) return Number(digits > 0 ? n : 0);
    return Number(std::round(n * scale) / scale);
  });
}
Value Mod(const BuiltinCall& c) {
  return Numeric2(c, 0, [](double a, double b) {
    return b == 0 ? ErrorValue(xlerrDiv0) : Number(a - b * std::floor(a / b));
  });
}

int ChooseIf(const Value& first) {
  bool condition = false;
  Value error;
  if (!AsBoolean(first, &condition, &error)) return -1;
  return condition ? 1 : 2;
}
// The branch IF takes: an absent one is FALSE, an empty one 0.
Value If(const BuiltinCall& c) {
  bool condition = false;
  Value error;
  if (!AsBoolean(c.Scalar(0), &condition, &error)) return error;
  const size_t branch = condition ? 1 : 2;
  if (branch >= c.args.size()) return BooleanValue(false);
  if (!c.Given(branch)) return NumberValue(0);
  return c.Scalar(branch);
}
int ChooseIfError(const Value& first) { return first.Is(xltypeErr) ? 1 : -1; }
Value IfError(const BuiltinCall& c) {
  const Value first = c.Scalar(0);
  if (!first.Is(xltypeErr)) return first;
  return c.Given(1) ? c.Scalar(1) : NumberValue(0);
}

Value Logical(const BuiltinCall& c, bool all) {
  bool result = all, any = false;
  Value error;
  if (!Each(c, true, [&](double n) {
        any = true;
        result = all ? result && n != 0 : result || n != 0;
      }, &error))
    return error;
  return any ? BooleanValue(result) : ErrorValue(xlerrValue);
}
Value And(const BuiltinCall& c) { return Logical(c, true); }
Value Or(const BuiltinCall& c) { return Logical(c, false); }
Value Not(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) {
    bool b = false;
    Value error;
    return AsBoolean(v[0], &b, &error) ? BooleanValue(!b) : error;
  });
}
Value IsError(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) { return BooleanValue(v[0].Is(xltypeErr)); });
}
Value Na(const BuiltinCall&) { return ErrorValue(xlerrNA); }
Value True(const BuiltinCall&) { return BooleanValue(true); }
Value False(const BuiltinCall&) { return BooleanValue(false); }

// Texts are UTF-8 here; Excel counts UTF-16 code units.
size_t Utf16Length(const std::string& text) {
  size_t units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++units;
    if ((c & 0xF8) == 0xF0) ++units;
  }
  return units;
}

Value Text1(const BuiltinCall& c, const std::function<Value(const std::string&)>& f) {
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    std::string text;
    Value error;
    return AsText(v[0], &text, &error) ? f(text) : error;
  });
}
Value Len(const BuiltinCall& c) {
  return Text1(c, [](const std::string& t) { return NumberValue(static_cast<double>(Utf16Length(t))); });
}
Value Concatenate(const BuiltinCall& c) {
  std::string joined;
  for (size_t i = 0; i < c.args.size(); ++i) {
    std::string text;
    Value error;
    if (!AsText(c.Scalar(i), &text, &error)) return error;
    joined += text;
  }
  return TextValue(joined);
}
// The code of the first character; xllhost answers it for ASCII, where
// every Windows code page agrees, and leaves the rest uncalculated.
Value Code(const BuiltinCall& c) {
  return Text1(c, [&](const std::string& t) {
    if (t.empty()) return ErrorValue(xlerrValue);
    const auto first = static_cast<unsigned char>(t[0]);
    if (first >= 0x80) {
      *c.notCalculated = "CODE of a character beyond ASCII depends on the code page";
      return ErrorValue(xlerrNA);
    }
    return NumberValue(first);
  });
}
Value Char(const BuiltinCall& c) {
  return Numeric(c, 0, [&](double n) {
    const double code = std::trunc(n);
    if (code < 1 || code > 255) return ErrorValue(xlerrValue);
    if (code >= 128) {
      *c.notCalculated = "CHAR beyond ASCII depends on the code page";
      return ErrorValue(xlerrNA);
    }
    return TextValue(std::string(1, static_cast<char>(code)));
  });
}
// FIND(find, within, [start]): where `find` first stands in `within`, from
// 1, case-sensitive; #VALUE! when it does not. Positions count characters.
Value Find(const BuiltinCall& c) {
  std::string find, within;
  double start = 1;
  Value error;
  if (!AsText(c.Scalar(0), &find, &error) || !AsText(c.Scalar(1), &within, &error)) return error;
  if (c.Given(2) && !AsNumber(c.Scalar(2), &start, &error)) return error;
  start = std::trunc(start);
  if (start < 1 || start > static_cast<double>(Utf16Length(within)) + 1) return ErrorValue(xlerrValue);
  size_t offset = 0;  // the byte where character `start` begins
  for (double n = 1; n < start; ++n) {
    ++offset;
    while (offset < within.size() && (static_cast<unsigned char>(within[offset]) & 0xC0) == 0x80) ++offset;
  }
  const size_t found = within.find(find, offset);
  if (found == std::string::npos) return ErrorValue(xlerrValue);
  return NumberValue(static_cast<double>(Utf16Length(within.substr(0, found)) + 1));
}

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

constexpr int Many = 255;

// The functions xllhost calculates, and the most common of those it does
// not, by their numbers in Excel's function table ([MS-XLS] Ftab; IFERROR,
// which came after that table, by its number in the C API, 480). A call of a
// function without a calculation leaves its cell not calculated.
const Builtin Table[] = {
    {"SUM", 4, 0, Many, Sum, nullptr},
    {"PRODUCT", 183, 0, Many, ProductOf, nullptr},
    {"MIN", 6, 0, Many, MinOf, nullptr},
    {"MAX", 7, 0, Many, MaxOf, nullptr},
    {"AVERAGE", 5, 1, Many, Average, nullptr},
    {"ABS", 24, 1, 1, Abs, nullptr},
    {"SQRT", 20, 1, 1, Sqrt, nullptr},
    {"EXP", 21, 1, 1, Exp, nullptr},
    {"LN", 22, 1, 1, Ln, nullptr},
    {"LOG", 109, 1, 2, Log, nullptr},
    {"POWER", 337, 2, 2, Power, nullptr},
    {"ROUND", 27, 2, 2, Round, nullptr},
    {"INT", 25, 1, 1, Int, nullptr},
    {"MOD", 39, 2, 2, Mod, nullptr},
    {"PI", 19, 0, 0, Pi, nullptr},
    {"IF", 1, 2, 3, If, ChooseIf},
    {"AND", 36, 1, Many, And, nullptr},
    {"OR", 37, 1, Many, Or, nullptr},
    {"NOT", 38, 1, 1, Not, nullptr},
    {"IFERROR", 480, 2, 2, IfError, ChooseIfError},
    {"ISERROR", 3, 1, 1, IsError, nullptr},
    {"NA", 10, 0, 0, Na, nullptr},
    {"TRUE", 34, 0, 0, True, nullptr},
    {"FALSE", 35, 0, 0, False, nullptr},
    {"LEN", 32, 1, 1, Len, nullptr},
    {"CONCATENATE", 336, 1, Many, Concatenate, nullptr},
    {"CODE", 121, 1, 1, Code, nullptr},
    {"CHAR", 111, 1, 1, Char, nullptr},
    {"FIND", 124, 2, 3, Find, nullptr},
    {"ROWS", 76, 1, 1, Rows, nullptr},
    {"COLUMNS", 77, 1, 1, Columns, nullptr},
    {"INDEX", 29, 2, 3, Index, nullptr},  // its fourth argument picks an area: one is all xllhost has
    {"TRANSPOSE", 83, 1, 1, Transpose, nullptr},
    // Known to Excel, not calculated here.
    {"COUNT", 0, 0, Many, nullptr, nullptr},
    {"ISNA", 2, 1, 1, nullptr, nullptr},
    {"ROW", 8, 0, 1, nullptr, nullptr},
    {"COLUMN", 9, 0, 1, nullptr, nullptr},
    {"NPV", 11, 2, Many, nullptr, nullptr},
    {"STDEV", 12, 1, Many, nullptr, nullptr},
    {"SIGN", 26, 1, 1, nullptr, nullptr},
    {"LOOKUP", 28, 2, 3, nullptr, nullptr},
    {"MID", 31, 3, 3, nullptr, nullptr},
    {"VALUE", 33, 1, 1, nullptr, nullptr},
    {"TEXT", 48, 2, 2, nullptr, nullptr},
    {"MATCH", 64, 2, 3, nullptr, nullptr},
    {"DATE", 65, 3, 3, nullptr, nullptr},
    {"NOW", 74, 0, 0, nullptr, nullptr},
    {"OFFSET", 78, 3, 5, nullptr, nullptr},
    {"SEARCH", 82, 2, 3, nullptr, nullptr},
    {"CHOOSE", 100, 2, Many, nullptr, nullptr},
    {"HLOOKUP", 101, 3, 4, nullptr, nullptr},
    {"VLOOKUP", 102, 3, 4, nullptr, nullptr},
    {"LOWER", 112, 1, 1, nullptr, nullptr},
    {"UPPER", 113, 1, 1, nullptr, nullptr},
    {"LEFT", 115, 1, 2, nullptr, nullptr},
    {"RIGHT", 116, 1, 2, nullptr, nullptr},
    {"TRIM", 118, 1, 1, nullptr, nullptr},
    {"SUBSTITUTE", 120, 3, 4, nullptr, nullptr},
    {"ISTEXT", 127, 1, 1, nullptr, nullptr},
    {"ISNUMBER", 128, 1, 1, nullptr, nullptr},
    {"ISBLANK", 129, 1, 1, nullptr, nullptr},
    {"INDIRECT", 148, 1, 2, nullptr, nullptr},
    {"COUNTA", 169, 0, Many, nullptr, nullptr},
    {"TRUNC", 197, 1, 2, nullptr, nullptr},
    {"ROUNDUP", 212, 2, 2, nullptr, nullptr},
    {"ROUNDDOWN", 213, 2, 2, nullptr, nullptr},
    {"TODAY", 221, 0, 0, nullptr, nullptr},
    {"SUMPRODUCT", 228, 1, Many, nullptr, nullptr},
    {"SUMIF", 345, 2, 3, nullptr, nullptr},
    {"COUNTIF", 346, 2, 2, nullptr, nullptr},
};

}  // namespace

const Builtin* FindBuiltin(const std::string& name) {
  for (const Builtin& builtin : Table)
    if (name == builtin.name) return &builtin;
  return nullptr;
}

const Builtin* FindBuiltin(int xlfn) {
  for (const Builtin& builtin : Table)
    if (xlfn == builtin.xlfn) return &builtin;
  return nullptr;
}

namespace {

const Value& Read(const Workbook& book, int sheet, const Cell& cell, std::string* notCalculated) {
  if (cell.uncalculated && notCalculated->empty())
    *notCalculated = "needs " + book.Sheets()[static_cast<size_t>(sheet)].name + "!" + CellName(cell.row, cell.column) +
                     ", which is not calculated";
  return cell.value;
}

}  // namespace

Value AreaValues(const Workbook& book, int sheet, const Area& area, std::string* notCalculated) {
  if (area.IsCell()) {
    const Cell* cell = book.Find(sheet, area.firstRow, area.firstColumn);
    return cell == nullptr ? Value{} : Read(book, sheet, *cell, notCalculated);
  }
  const size_t count = static_cast<size_t>(area.Rows()) * static_cast<size_t>(area.Columns());
  if (count > MaxArrayCells) {
    *notCalculated = "takes " + AreaName(area) + " as an array of " + std::to_string(count) +
                     " values, more than xllhost passes (" + std::to_string(MaxArrayCells) + ")";
    return ErrorValue(xlerrNA);
  }
  Value array;
  array.xltype = xltypeMulti;
  array.rows = area.Rows();
  array.columns = area.Columns();
  array.elements.resize(count);
  book.ForEachIn(sheet, area, [&](const Cell& cell) {
    array.elements[static_cast<size_t>(cell.row - area.firstRow) * static_cast<size_t>(array.columns) +
                   static_cast<size_t>(cell.column - area.firstColumn)] = Read(book, sheet, cell, notCalculated);
  });
  return array;
}

Value IntersectedValue(const Workbook& book, const Place& place, const Operand& operand, std::string* notCalculated) {
  if (!operand.IsReference()) return operand.value;
  const Area& area = operand.area;
  int row = area.firstRow, column = area.firstColumn;
  if (!area.IsCell()) {
    if (area.Columns() == 1 && place.row >= area.firstRow && place.row <= area.lastRow && operand.sheet == place.sheet)
      row = place.row;
    else if (area.Rows() == 1 && place.column >= area.firstColumn && place.column <= area.lastColumn &&
             operand.sheet == place.sheet)
      column = place.column;
    else
      return ErrorValue(xlerrValue);
  }
  const Cell* cell = book.Find(operand.sheet, row, column);
  return cell == nullptr ? Value{} : Read(book, operand.sheet, *cell, notCalculated);
}

Value BuiltinCall::Values(size_t i) const {
  const Operand& arg = args[i];
  if (!arg.IsReference()) return arg.value;
  return AreaValues(book, arg.sheet, arg.area, notCalculated);
}

Value BuiltinCall::Scalar(size_t i) const {
  if (i >= args.size()) return Value{};
  const Operand& arg = args[i];
  if (arg.IsReference() && place.array && !arg.area.IsCell()) return Values(i);
  return IntersectedValue(book, place, arg, notCalculated);
}

Value Operate(const std::string& op, const Value& left, const Value& right) {
  return ElementWise({left, right}, [&](const std::vector<Value>& v) {
    if (op == "&") {
      std::string a, b;
      Value error;
      if (!AsText(v[0], &a, &error) || !AsText(v[1], &b, &error)) return error;
      return TextValue(a + b);
    }
    if (op == "+" || op == "-" || op == "*" || op == "/" || op == "^") return Arithmetic(op, v[0], v[1]);
    return Compare(op, v[0], v[1]);
  });
}

Value Negate(const Value& value) {
  return ElementWise({value}, [](const std::vector<Value>& v) { return Arithmetic("-", NumberValue(0), v[0]); });
}

Value Percent(const Value& value) {
  return ElementWise({value}, [](const std::vector<Value>& v) { return Arithmetic("/", v[0], NumberValue(100)); });
}

}  // namespace xllhost
