// Values as the host sees them: copies of records, what a cell shows for
// them, and records built for requests.
#pragma once

#include <cstdint>
#include <string>

#include "UTypes.h"

namespace xllhost {

// A copy of a record as the host saw it: the copy outlives the record and
// the string it pointed to.
struct Value {
  std::uint16_t xltype = xltypeNil;
  double num = 0;
  std::string text;               // the counted string's characters, for strings
  const char* pointer = nullptr;  // the string pointer, for strings
  std::int16_t w = 0;
  std::uint16_t err = 0;
  bool boolean = false;
};

Value Capture(const XLOPER& record);
Value ErrorValue(std::uint16_t err);
// The text of a counted string; the count byte says how many characters follow.
std::string CountedText(const char* counted);
// What a cell would show for the value: the text, the number, TRUE/FALSE, #VALUE!...
std::string Display(const Value& value);

// Request records, as a host builds them. The type word may be given, so that
// a test can hand over words with further bits set.
XLOPER NumberRequest(double number, std::uint16_t xltype = xltypeNum);
XLOPER IntegerRequest(std::int16_t integer, std::uint16_t xltype = xltypeInt);

}  // namespace xllhost
