// Excel's built-in functions that xllhost calculates, from one table: a
// formula calls them by name, an add-in by number through Excel4 or Excel12
// (xlfFind, ...). The operators are in Operators.h.
#pragma once

#include <string>
#include <vector>

#include "builtins/BuiltinCall.h"

namespace xllhost {

// The number of a function that Excel's function table, from which
// xllhost's numbers are written, does not hold: an add-in cannot call it
// by number here.
constexpr int NoNumber = -1;

struct Builtin {
  const char* name;
  int xlfn;  // its number in Excel's function table, or NoNumber
  int fewest, most;
  // Null: Excel has the function and xllhost does not calculate it.
  Value (*calculate)(const BuiltinCall& call);
  // For functions that calculate only the arguments they need (IF,
  // IFERROR, IFNA, IFS, SWITCH, CHOOSE): given the values of the arguments
  // calculated so far (the first always is; the others missing until
  // calculated) and the one calculated last, which to calculate next, or -1
  // for none. Null for all others, which calculate every argument.
  int (*choose)(const std::vector<Value>& calculated, int last);
};

// Every row, for a range-for.
struct BuiltinRows {
  const Builtin* first;
  const Builtin* last;  // one past
  const Builtin* begin() const { return first; }
  const Builtin* end() const { return last; }
};
BuiltinRows AllBuiltins();

}  // namespace xllhost
