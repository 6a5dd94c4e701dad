// Values as the host sees them: copies of records of both interfaces, what a
// cell shows for them, and records built for requests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "UTypes.h"

namespace xllhost {

// A copy of a record as the host saw it: the copy outlives the record and
// what it pointed to. Text is UTF-8, whichever interface it came through.
struct Value {
  std::uint32_t xltype = xltypeNil;  // as the record had it, ownership bits included
  double num = 0;
  std::string text;               // for strings
  const char* pointer = nullptr;  // the string's or the array's address, for strings and arrays
  std::int32_t w = 0;             // for integers, and for a reference: its sheet's id
  std::uint16_t err = 0;
  bool boolean = false;
  int rows = 0, columns = 0;    // for arrays, and for a reference: its first row and column
  std::vector<Value> elements;  // for arrays, row by row

  std::uint32_t Type() const;  // the type without ownership bits
  bool Is(std::uint32_t type) const { return Type() == type; }
};

// An interface's records and the limits of its strings.
enum class Interface { Excel4, Excel12 };

// Whether a type word names one value: a plain type, with at most the
// ownership bits added.
bool IsKnownType(std::uint32_t xltype);
Value Capture(const XLOPER& record);
Value Capture(const XLOPER12& record);
Value ErrorValue(std::uint16_t err);
Value NumberValue(double number);
Value TextValue(const std::string& text);
Value BooleanValue(bool value);
Value MissingValue();
// The text of a counted string; element 0 says how many characters follow.
std::string CountedText(const char* counted);
std::string CountedText(const XCHAR* counted);
// Conversions between UTF-8 and the host's byte strings and wide strings.
std::string FromBytes(const std::string& bytes);
std::string ToBytes(const std::string& text);
std::string FromWide(const std::wstring& wide);
std::wstring ToWide(const std::string& text);
// What a cell would show for the value: the text, the number with 15
// significant digits, TRUE/FALSE, #VALUE!..., an array's top-left element.
std::string Display(const Value& value);
std::string ErrorText(std::uint16_t err);

// Request records, as a host builds them. The type word may be given, so that
// a test can hand over words with further bits set.
XLOPER NumberRequest(double number, std::uint16_t xltype = xltypeNum);
XLOPER IntegerRequest(std::int16_t integer, std::uint16_t xltype = xltypeInt);

}  // namespace xllhost
