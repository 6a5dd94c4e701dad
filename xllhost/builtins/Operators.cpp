#include "builtins/Operators.h"

#include <algorithm>
#include <cmath>

#include "records/Coerce.h"

namespace xllhost {

Value FiniteNumber(double number) {
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

Value Arithmetic(Operator op, const Value& left, const Value& right) {
  double a = 0, b = 0;
  Value error;
  if (!AsNumber(left, &a, &error) || !AsNumber(right, &b, &error)) return error;
  switch (op) {
    case Operator::Add: return FiniteNumber(a + b);
    case Operator::Subtract: return FiniteNumber(a - b);
    case Operator::Multiply: return FiniteNumber(a * b);
    case Operator::Divide: return b == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber(a / b);
    default:  // Power
      if (a == 0 && b == 0) return ErrorValue(xlerrNum);
      if (a == 0 && b < 0) return ErrorValue(xlerrDiv0);
      return FiniteNumber(std::pow(a, b));
  }
}

namespace {

int Rank(const Value& value) { return value.Is(xltypeStr) ? 1 : value.Is(xltypeBool) ? 2 : 0; }

}  // namespace

int Order(Value left, Value right) {
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
  return order;
}

bool SameKind(const Value& a, const Value& b) {
  for (const std::uint32_t kind : {xltypeNum, xltypeStr, xltypeBool, xltypeErr})
    if (a.Is(kind)) return b.Is(kind);
  return false;
}

bool Equal(const Value& a, const Value& b) { return SameKind(a, b) && Order(a, b) == 0; }

namespace {

Value Compare(Operator op, const Value& left, const Value& right) {
  if (left.Is(xltypeErr)) return left;
  if (right.Is(xltypeErr)) return right;
  const int order = Order(left, right);
  switch (op) {
    case Operator::Equal: return BooleanValue(order == 0);
    case Operator::NotEqual: return BooleanValue(order != 0);
    case Operator::Less: return BooleanValue(order < 0);
    case Operator::LessEqual: return BooleanValue(order <= 0);
    case Operator::Greater: return BooleanValue(order > 0);
    default: return BooleanValue(order >= 0);  // GreaterEqual
  }
}

}  // namespace

Value Operate(Operator op, const Value& left, const Value& right) {
  return ElementWise({left, right}, [&](const std::vector<Value>& v) {
    if (op == Operator::Concatenate) {
      std::string a, b;
      Value error;
      if (!AsText(v[0], &a, &error) || !AsText(v[1], &b, &error)) return error;
      return TextValue(a + b);
    }
    if (RowOf(op).level == 0) return Compare(op, v[0], v[1]);
    return Arithmetic(op, v[0], v[1]);
  });
}

Value Negate(const Value& value) {
  return ElementWise({value}, [](const std::vector<Value>& v) { return Arithmetic(Operator::Subtract, NumberValue(0), v[0]); });
}

Value Percent(const Value& value) {
  return ElementWise({value}, [](const std::vector<Value>& v) { return Arithmetic(Operator::Divide, v[0], NumberValue(100)); });
}

}  // namespace xllhost
