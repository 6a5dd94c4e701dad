// The formulas xllhost calculates: a literal (=1.5, ="text", =TRUE, =#N/A,
// ={1,2;3,4}) or a call of a function with literal arguments, such as
// =Add(1,2), =Greet("a ""b"""), =Flag(TRUE,) or =Sum({1,2;3,4}).
#pragma once

#include <string>
#include <vector>

#include "Values.h"

namespace xllhost {

struct Formula {
  bool isCall = false;
  std::string name;         // the function a call calls
  std::vector<Value> args;  // an empty argument is xltypeMissing
  Value literal;            // what a formula that is no call shows
};

// Parses a formula, which starts with "="; on failure says why.
bool ParseFormula(const std::string& text, Formula* formula, std::string* why);

// Whether the text can name a worksheet function or a defined name.
bool IsWorksheetName(const std::string& name);

}  // namespace xllhost
