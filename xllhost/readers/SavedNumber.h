// A number as a workbook saves it (<v>2</v>, <v>0.1</v>, <v>1E+20</v>)
// written in the text form of cells: a whole number without a point stays
// a whole number; any other is written as the shortest text that reads back
// as the same double, fixed for decimal exponents from -4 to 15 and with an
// exponent otherwise (0.0001, 1e-05, 1e+16, 40.0) — the way the reader that
// serves as the tests' oracle, openpyxl, writes it, so the two agree.
#pragma once

#include <string>
#include <string_view>

namespace xllhost {

// False for a text that is no number.
bool WriteSavedNumber(std::string_view saved, std::string* text);
// A double, written as above.
std::string ShortestText(double number);

}  // namespace xllhost
