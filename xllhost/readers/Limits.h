// What the text form of cells holds at most, for its reader (workbook/) and
// the workbook reader that writes it (xlsx-cells) alike.
#pragma once

#include <cstddef>

namespace xllhost {

// The cells of one array formula's block: a block is laid out cell by cell,
// and a line naming more is refused rather than allowed to take the memory
// of millions of cells. A whole column of Excel's grid fits.
constexpr std::size_t MostBlockCells = std::size_t{1} << 20;

}  // namespace xllhost
