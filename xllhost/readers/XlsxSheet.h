// One worksheet's cells written in the text form of cells, read as the part
// streams in: constants, formulas with what Excel saved for them, shared
// formulas written out for each cell, and array formulas (dynamic arrays
// too) with the values of their blocks.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "readers/Zip.h"

namespace xllhost {

struct SheetSource {
  const ZipArchive& zip;
  const std::string& part;
  const std::vector<std::string>& strings;  // the workbook's shared strings
  // Called every so many cells with the count read so far in this sheet.
  std::function<void(std::size_t)> progress = [](std::size_t) {};
};

// Appends the sheet's lines (without its "sheet" line) to `out`; answers
// false and says why when the part cannot be read.
bool ReadSheetCells(const SheetSource& source, std::string* out, std::string* why);

}  // namespace xllhost
