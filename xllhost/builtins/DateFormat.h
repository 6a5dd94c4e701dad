// A serial number written in Excel's date and time codes, for TEXT: y, m
// (a month, or a minute after an hour or before a second), d, h, s, AM/PM
// and A/P, in English names; times to the nearest second.
#pragma once

#include <string>
#include <vector>

#include "builtins/FormatCodes.h"

namespace xllhost {

bool WriteDate(double serial, const std::vector<FormatToken>& tokens, std::string* text, std::string* why);

}  // namespace xllhost
