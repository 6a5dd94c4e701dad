#include "app/CellsGiven.h"

#include <algorithm>

#include "app/Files.h"
#include "functions/Information.h"
#include "workbook/CellsText.h"

namespace xllhost {

std::string ReadCellsGiven(CommandLine& line) {
  SessionOptions& options = line.options;
  std::string why;
  if (line.workbookFile.empty()) {
    if (!options.report.empty() || !options.junit.empty() || options.tolerance != 0 || options.allCells)
      return "--report, --junit, --tolerance and --all-cells compare a workbook: give --workbook FILE";
    // The cells file, then each --cell, then the formulas, each in its row of
    // the first column right of every cell: read once, here, into the host's
    // workbook.
    Workbook& book = Book();
    book = Workbook{};
    if (!line.cellsFile.empty() && !ReadCells(line.cellsText, &book, &why))
      return "the cells file " + line.cellsFile + ": " + why;
    for (const std::string& cell : options.cells)
      if (!ReadCellOption(cell, &book, &why)) return why;
    if (book.Sheets().empty()) book.AddSheet(DefaultSheet);
    for (const Sheet& sheet : book.Sheets())
      for (const Cell& cell : sheet.cells) options.formulaColumn = std::max(options.formulaColumn, cell.column + 1);
    for (size_t row = 0; row < options.formulas.size(); ++row) {
      const std::string& formula = options.formulas[row];
      if (formula.empty()) return "--formula needs a formula, such as =TavikFnc()";
      if (!book.SetFormula(0, static_cast<int>(row), options.formulaColumn, formula, nullptr, &why))
        return "cannot read the formula \"" + formula + "\": " + why;
    }
    if (!book.Finish(&why)) return why;
    return "";
  }
  if (!options.formulas.empty() || !options.cells.empty() || !line.cellsFile.empty())
    return "--workbook calculates the workbook's own cells: give no --formula, --cell or --cells";
  for (const std::string* output : {&options.report, &options.junit})
    if (!output->empty() && !CanWrite(*output)) return "cannot write " + *output;
  std::string text;
  if (!ReadFile(line.workbookFile, text)) return "the workbook " + line.workbookFile + " is not found or cannot be read";
  const std::string kind = Extension(line.workbookFile);
  if ((kind == ".xlsx" || kind == ".xlsm") && text.rfind("PK", 0) != 0)
    return line.workbookFile + " is not a workbook: Excel saves " + kind + " as a zip archive, and this is none";
  if (kind == ".xls" || kind == ".xlsb")
    return line.workbookFile + " is a binary workbook (" + kind + "), which xllhost does not read: save it as .xlsx";
  if (text.rfind("PK", 0) == 0)
    return line.workbookFile + " is a zipped workbook (.xlsx): run it through scripts/xllhost --workbook, which "
           "reads it with xlsx-cells into the text form of cells that xllhost.exe takes";
  Workbook& book = Book();
  book = Workbook{};
  const size_t slash = line.workbookFile.find_last_of("/\\");
  book.name = slash == std::string::npos ? line.workbookFile : line.workbookFile.substr(slash + 1);
  if (!ReadCells(text, &book, &why)) return "the workbook " + line.workbookFile + ": " + why;
  options.workbook = true;
  return "";
}

}  // namespace xllhost
