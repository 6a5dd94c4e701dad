// A cell of the one sheet xllhost has: what it shows for a formula (see
// Formula.h), and xlfEvaluate.
#pragma once

#include <string>

#include "HostAnswer.h"

namespace xllhost {

// Answers whether the formula is a call of a function, and the name it calls.
bool IsFormulaCall(const std::string& formula, std::string* name = nullptr);
// What a cell holding the formula shows; the cell is A1, or the given row's
// cell of column A (from 0), for xlfCaller. A formula xllhost cannot read,
// or the call of a function nobody registered, shows #NAME?.
Value Evaluate(const std::string& formula, int row = 0);

// xlfEvaluate: what a cell holding the text as its formula shows.
Answer EvaluateText(const Request& request);

}  // namespace xllhost
