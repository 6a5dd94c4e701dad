// The reader of formulas, on any text, standing in any cell: it accepts or
// refuses with a reason, never both nor neither, and a formula it accepts,
// written out again, reads as the same formula.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formulas/Formula.h"
#include "formulas/FormulaText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes place the cell, anywhere in the grid's first rows and columns.
  const int row = data[0] * 4099 % xllhost::MaxRows, column = data[1] * 67 % xllhost::MaxColumns;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  xllhost::Formula formula;
  std::string why;
  const bool read = xllhost::ParseFormula(text, row, column, &formula, &why);
  if (read != why.empty()) std::abort();
  if (!read) return 0;
  const std::string written = xllhost::PrintFormula(formula, row, column);
  // A number written with all its digits may make the text longer than a formula may be.
  if (written.size() > xllhost::MaxFormulaLength) return 0;
  xllhost::Formula again;
  if (!xllhost::ParseFormula(written, row, column, &again, &why)) std::abort();
  if (xllhost::FormulaKey(again) != xllhost::FormulaKey(formula) || again.calls != formula.calls) std::abort();
  return 0;
}
