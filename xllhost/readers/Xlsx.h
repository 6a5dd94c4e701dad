// A workbook Excel saved (.xlsx, .xlsm) read natively into xllhost's text
// form of cells (workbook/CellsText.h): its sheets in the workbook's order,
// mapped to their parts through the relationships, the values it cached of
// the workbooks its formulas name, each sheet of those as "[N]Name", and the
// names of the workbook and of each sheet. Dates stay the serial numbers
// Excel saved, in the workbook's own date system.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace xllhost {

struct XlsxSource {
  std::string name;   // the workbook's file name, for the "book" line
  std::string path;   // the file, or
  const std::string* bytes = nullptr;  // its bytes
  // Told now and then while a long read goes on: the cells read so far.
  std::function<void(std::size_t)> progress = [](std::size_t) {};
};

// The text form of the workbook's cells; false with why for a file that is
// no workbook ("is no workbook: ...") or one that cannot be read ("cannot
// be read as a workbook: ...").
bool ReadXlsx(const XlsxSource& source, std::string* text, std::string* why);

}  // namespace xllhost
