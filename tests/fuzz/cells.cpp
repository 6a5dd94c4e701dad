// The reader of the text form of cells, on any text: it accepts or refuses
// with a reason naming the line, never both nor neither; what it accepts is
// a finished workbook whose every cell can be found where it stands.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "workbook/CellsText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  xllhost::Workbook book;
  std::string why;
  const bool read = xllhost::ReadCells(text, &book, &why);
  if (read != why.empty()) std::abort();
  if (!read) return 0;
  for (size_t s = 0; s < book.Sheets().size(); ++s)
    for (const xllhost::Cell& cell : book.Sheets()[s].cells)
      if (book.Find(static_cast<int>(s), cell.row, cell.column) != &cell) std::abort();
  for (const xllhost::FormulaCell& entry : book.Formulas()) {
    const xllhost::Cell* cell = book.Find(entry.sheet, entry.row, entry.column);
    if (cell == nullptr || cell->entry < 0 || entry.text.empty() || entry.text[0] != '=') std::abort();
  }
  return 0;
}
