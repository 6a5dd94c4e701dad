// The text form of a workbook's cells, which the .xlsx reader writes and
// users write by hand (docs/xllhost.md describes it). One line each:
//
//   book Prices.xlsx                  the workbook's name ([Prices.xlsx]Sheet1)
//   sheet My Sheet                    the sheet the cells below stand on
//   A1 2.5                            a constant: number, "text", TRUE, #N/A
//   B1 =_xll.Add(A1,2) -> 4.5         a formula, and what Excel saved for it
//   C1:D2 {=TRANSPOSE(A1:B2)} -> {1,2;3,4}   an array formula over a block
//   name Rate =Sheet1!$A$1            a name of the workbook
//   name 'My Sheet'!Local =$B$2       a name of one sheet
//
// Blank lines and lines starting with # are skipped. In a line, \n stands
// for a line break, \t for a tab and \\ for a backslash.
#pragma once

#include <string>

#include "workbook/Workbook.h"

namespace xllhost {

// Reads the text into the workbook, which it finishes; on failure says why,
// naming the line.
bool ReadCells(const std::string& text, Workbook* book, std::string* why);

// "A1=2" or "Sheet2!B3==A1*2" of --cell: the cell, and a constant or a
// formula; the sheet is added to the workbook when it has none of the name.
bool ReadCellOption(const std::string& text, Workbook* book, std::string* why);

}  // namespace xllhost
