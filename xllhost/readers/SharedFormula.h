// A shared formula written out for one of the cells that share it. Excel
// saves the formula once, in the first cell, and the others by its index
// alone; each cell's own formula moves the relative parts of its cell
// references by the cell's distance from the first, as copying it would.
#pragma once

#include <string>

namespace xllhost {

// The formula (without "=") moved by `rows` and `columns`. Texts in quotes,
// sheet names, names, functions, numbers and errors stay as they are; fixed
// parts ($A$1) stay; whitespace runs are kept as their first character.
std::string MoveFormula(const std::string& formula, int rows, int columns);

}  // namespace xllhost
