// A formula written out again: as it would stand in a cell, or as a key
// that is the same wherever it stands (R1C1 form).
#pragma once

#include <string>

#include "formulas/Formula.h"

namespace xllhost {

// The formula written again, starting with "=", as it would stand in the
// cell at (row, column). Reading what it writes gives the same formula.
std::string PrintFormula(const Formula& formula, int row, int column);
// The formula in R1C1 form, without "=": a text that is the same for
// formulas that are the same wherever they stand.
std::string FormulaKey(const Formula& formula);

}  // namespace xllhost
