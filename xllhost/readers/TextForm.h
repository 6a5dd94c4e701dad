// What the workbook reader writes in the text form of cells: cells' names,
// constants as the text form writes them from what a workbook saved, and
// lines escaped.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace xllhost {

constexpr int LastRow = 1048575, LastColumn = 16383;  // from 0: XFD1048576

// "B3" as row 2, column 1; false for no cell of the grid.
bool ReadCellReference(const char* name, int* row, int* column);
std::string CellReference(int row, int column);

// A text in quotes, its quotes doubled.
std::string Quoted(const std::string& text);
// A constant from its type in a cell (t: "b", "e", "n", "str", or "s" and
// "inlineStr" once the text is found) and its saved text; false for a value
// that is none of its type.
bool ConstantText(const std::string& type, const std::string& saved, std::string* text);
// A date saved as text (t="d", ISO 8601) as its serial number in the 1900
// date system.
bool DateSerial(const std::string& iso, std::string* text);

// A line of these parts as the text form escapes it: \\, \n, \r and \t.
void AppendEscaped(std::initializer_list<std::string_view> parts, std::string* out);

}  // namespace xllhost
