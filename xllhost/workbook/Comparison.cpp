#include "workbook/Comparison.h"

#include <algorithm>
#include <cmath>

namespace xllhost {
namespace {

const char* Kind(const Value& value) {
  switch (value.Type()) {
    case xltypeNum: return "a number";
    case xltypeStr: return "a text";
    case xltypeBool: return "a Boolean";
    case xltypeErr: return "an error";
    case xltypeMulti: return "an array";
    default: return "an empty cell";
  }
}

std::string Size(const Value& array) { return std::to_string(array.rows) + "x" + std::to_string(array.columns); }

}  // namespace

std::string Difference(const Value& value, const Value& saved, double tolerance) {
  const bool empty = value.Is(xltypeNil) || value.Is(xltypeMissing), savedEmpty = saved.Is(xltypeNil);
  if (empty && savedEmpty) return "";
  if (empty || savedEmpty || value.Type() != saved.Type())
    return std::string(empty ? "an empty cell" : Kind(value)) + " where Excel saved " +
           (savedEmpty ? "an empty cell" : Kind(saved));
  switch (value.Type()) {
    case xltypeNum:
      if (value.num == saved.num) return "";  // most cells: no need to show either
      if (tolerance == 0)
        return Display(value) == Display(saved) ? "" : "the numbers differ within 15 significant digits";
      if (std::fabs(value.num - saved.num) <= tolerance * std::max(std::fabs(value.num), std::fabs(saved.num)))
        return "";
      return "the numbers differ by more than the relative tolerance " + Display(NumberValue(tolerance));
    case xltypeMulti:
      if (value.rows != saved.rows || value.columns != saved.columns)
        return "an array of " + Size(value) + " where Excel saved one of " + Size(saved);
      for (size_t i = 0; i < value.elements.size(); ++i) {
        if (saved.elements[i].Is(xltypeNil)) continue;  // a cell of the block Excel saved no value for
        const std::string why = Difference(value.elements[i], saved.elements[i], tolerance);
        if (!why.empty())
          return "element (" + std::to_string(i / static_cast<size_t>(value.columns) + 1) + "," +
                 std::to_string(i % static_cast<size_t>(value.columns) + 1) + "): " + why;
      }
      return "";
    default:
      if (Display(value) == Display(saved)) return "";
      return value.Is(xltypeStr) ? "the texts differ" : value.Is(xltypeErr) ? "the errors differ" : "the Booleans differ";
  }
}

}  // namespace xllhost
