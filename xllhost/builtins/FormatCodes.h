// Excel's number format codes read into tokens, for TEXT: the sections
// between semicolons, and in each its digit placeholders, date codes and
// literal text (NumberFormat.h lists what xllhost reads).
#pragma once

#include <string>
#include <vector>

namespace xllhost {

enum class FormatKind { Literal, Zero, Hash, Point, Comma, Percent, Exponent, Date, AmPm, At };
struct FormatToken {
  FormatKind kind;
  std::string text;  // a literal's text; a date code in lower case ("yyyy", "mm"); an exponent's sign; "AM/PM" or "A/P"
};

std::vector<std::string> FormatSections(const std::string& format);
// False, with the reason, for a code xllhost does not read.
bool Tokenize(const std::string& section, std::vector<FormatToken>* tokens, std::string* why);
// Answers false with "TEXT in a format with <what>" as the reason.
bool RefuseFormat(std::string* why, const std::string& what);

}  // namespace xllhost
