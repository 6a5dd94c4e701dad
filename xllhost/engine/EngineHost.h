// What the formula engine asks of the program it calculates for: the names
// add-ins defined, the call of an add-in's function, and nothing else. The
// engine keeps no state of its own; xllhost answers from the host's
// registrations (functions/AddInsHost.h), the engine's tests from memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "builtins/Operands.h"
#include "records/TypeText.h"

namespace xllhost {

// A function an add-in registered, as a formula calls it.
struct AddInFunction {
  const Signature* signature = nullptr;  // its type text read: how each argument is prepared
  std::string_view text;                 // the name it registered, as written
  double id = 0;                         // the registration the host calls
};

// What a name a formula writes is to the add-ins.
struct AddInName {
  enum class Kind {
    None,      // no add-in defines it
    Value,     // a name an add-in defined with a value (xlfSetName)
    Function,  // a registered function's name
    Retired,   // a function's name once registered and taken back: #NAME?
  };
  Kind kind = Kind::None;
  Value value;               // for Value
  AddInFunction function;    // for Function
};

// The cell a call is made for: its place, what it fills (the cell, or its
// array block) and its formula as written. The text outlives the call.
struct CalculatedCell {
  Place place;
  Area area;
  std::string_view formula;
  int entry = -1;  // in Workbook::Formulas(), for a cell of the calculated workbook
};

class EngineHost {
 public:
  virtual ~EngineHost() = default;
  // `name` upper case, without _xll.
  virtual AddInName Lookup(const std::string& name) const = 0;
  // What the cell shows when it calls the function with the arguments, which
  // are prepared as its signature asks; the host takes the answer as Excel
  // takes it.
  virtual Value Call(const AddInFunction& function, const std::vector<Value>& args, const CalculatedCell& cell) = 0;
  // For a workbook whose cells call asynchronous functions, asked once after
  // each calculation of a cell: whether a call it made awaits its answer.
  // Such a cell, and every cell that needs it, is calculated again after
  // AwaitAnswers, and meets its calls afresh.
  virtual bool AwaitsAnswer(const CalculatedCell& /*cell*/) { return false; }
  // Returns once every call awaiting its answer has one, or is given up.
  virtual void AwaitAnswers() {}
};

}  // namespace xllhost
