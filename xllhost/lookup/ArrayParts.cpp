#include "lookup/ArrayParts.h"

#include <cmath>

#include "builtins/Operators.h"

namespace xllhost {

bool Whole(const BuiltinCall& c, size_t i, double absent, double* n, Value* error) {
  if (!c.Given(i)) return *n = absent, true;
  const Value given = c.Scalar(i);
  if (given.Is(xltypeMulti)) return *error = c.NotCalculated("an array where one number is taken"), false;
  if (!AsNumber(given, n, error)) return false;
  *n = std::trunc(*n);
  return true;
}

bool Flag(const BuiltinCall& c, size_t i, bool* flag, Value* error) {
  *flag = false;
  return !c.Given(i) || AsBoolean(c.Scalar(i), flag, error);
}

Value Lines(const Grid& grid, const std::vector<int>& picked, bool across) {
  const size_t other = static_cast<size_t>(across ? grid.rows : grid.columns);
  Value array = across ? ArrayValue(other, picked.size()) : ArrayValue(picked.size(), other);
  for (size_t k = 0; k < picked.size(); ++k)
    for (size_t j = 0; j < other; ++j) {
      const int line = picked[k], at = static_cast<int>(j);
      array.elements[across ? j * picked.size() + k : k * other + j] = across ? grid.At(at, line) : grid.At(line, at);
    }
  return array;
}

std::vector<int> Kept(int count, double n, bool drop) {
  std::vector<int> kept;
  const double size = std::fabs(n);
  for (int i = 0; i < count; ++i) {
    const bool inFront = n > 0 ? i < size : i >= count - size;
    if (inFront != drop) kept.push_back(i);
  }
  return kept;
}

}  // namespace xllhost
