// Excel's number format codes, as TEXT writes a value in them: sections
// for positive, negative and zero numbers and for texts; the digit
// placeholders 0 and #, the thousands separator and scaling comma, the
// decimal point, %, scientific E+ and E-, literal text, @, and the date and
// time codes (y, m, d, h, s, AM/PM, A/P). The separators are those of the
// en-US locale. A code beyond these (colours and conditions in brackets,
// ?, fractions, fill and padding, General for a number that is not whole,
// elapsed time) is refused with the reason, never written as a guess.
#pragma once

#include <string>

namespace xllhost {

bool FormatNumber(double number, const std::string& format, std::string* text, std::string* why);
// A text in the format: its fourth section, or a first that holds @, puts
// the text at each @; otherwise the text stays as it is.
bool FormatText(const std::string& value, const std::string& format, std::string* text, std::string* why);

}  // namespace xllhost
