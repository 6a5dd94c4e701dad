// xlCoerce: a value converted to one of the types an add-in accepts, as a
// worksheet converts the arguments of its functions.
#include <cmath>
#include <cstdlib>

#include "records/Coerce.h"

namespace xllhost {
namespace {

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// A record's NaN or infinity, which no cell holds, converts to nothing.
bool ToNumber(const Value& value, double* number) {
  switch (value.Type()) {
    case xltypeNum: *number = value.num; return std::isfinite(value.num);
    case xltypeInt: *number = value.integer; return true;
    case xltypeBool: *number = value.boolean ? 1 : 0; return true;
    case xltypeNil:
    case xltypeMissing: *number = 0; return true;
    case xltypeStr: {
      std::string text = Trimmed(value.text);
      if (text.empty()) return false;
      // A text too small for a normal double reads as its nearest (strtod
      // says ERANGE for it too); one too large for any is no number.
      char* end = nullptr;
      *number = std::strtod(text.c_str(), &end);
      return *end == '\0' && std::isfinite(*number) && text.find_first_of("xXnN") == std::string::npos;
    }
    default: return false;
  }
}

bool ToBoolean(const Value& value, bool* boolean) {
  switch (value.Type()) {
    case xltypeBool: *boolean = value.boolean; return true;
    case xltypeNum: *boolean = value.num != 0; return true;
    case xltypeInt: *boolean = value.integer != 0; return true;
    case xltypeNil:
    case xltypeMissing: *boolean = false; return true;
    case xltypeStr: {
      std::string word = Upper(Trimmed(value.text));
      *boolean = word == "TRUE";
      return word == "TRUE" || word == "FALSE";
    }
    default: return false;
  }
}

bool ToText(const Value& value, std::string* text) {
  switch (value.Type()) {
    case xltypeStr: *text = value.text; return true;
    case xltypeNum:
    case xltypeInt:
    case xltypeBool: *text = Display(value); return true;
    case xltypeNil:
    case xltypeMissing: *text = ""; return true;
    default: return false;
  }
}

// The types tried, in this order, when the mask allows several.
constexpr std::uint32_t Order[] = {xltypeNum, xltypeStr, xltypeBool, xltypeInt, xltypeMulti, xltypeErr, xltypeNil};

bool CoerceTo(const Value& value, std::uint32_t type, Interface via, Value* result) {
  double number = 0;
  bool boolean = false;
  std::string text;
  switch (type) {
    case xltypeNum:
      if (!ToNumber(value, &number)) return false;
      *result = NumberValue(number);
      return true;
    case xltypeInt: {
      if (!ToNumber(value, &number)) return false;
      double limit = via == Interface::Excel4 ? 32768.0 : 2147483648.0;
      number = std::trunc(number);
      if (number < -limit || number >= limit) return false;
      *result = IntegerValue(static_cast<std::int32_t>(number));
      return true;
    }
    case xltypeBool:
      if (!ToBoolean(value, &boolean)) return false;
      *result = BooleanValue(boolean);
      return true;
    case xltypeStr:
      if (!ToText(value, &text)) return false;
      *result = TextValue(text);
      return true;
    case xltypeErr:
    case xltypeNil:
      if (!value.Is(type) && !(type == xltypeNil && value.Is(xltypeMissing))) return false;
      *result = value;
      result->xltype = type;
      return true;
    case xltypeMulti:
      *result = Value{};
      result->xltype = xltypeMulti;
      result->rows = result->columns = 1;
      result->elements.push_back(value);
      return true;
    default: return false;
  }
}

}  // namespace

// xllhost has no cells: a reference stands for an empty cell. An array
// converted to one value is its top-left element.
bool CoerceValue(const Value& source, std::uint32_t mask, Interface via, Value* result) {
  Value value = source;
  value.xltype = source.Type();
  if (value.Is(xltypeRef) || value.Is(xltypeSRef)) value = Value{};
  if (mask == 0) {
    *result = value;
    return true;
  }
  if (value.Is(xltypeMulti) && (mask & xltypeMulti) == 0) {
    if (value.elements.empty()) return false;
    Value first = value.elements[0];
    value = first;
    value.xltype = first.Type();
  }
  if ((value.Type() & mask) != 0) {
    *result = value;
    return true;
  }
  for (std::uint32_t type : Order)
    if ((mask & type) != 0 && CoerceTo(value, type, via, result)) return true;
  return false;
}

}  // namespace xllhost
