#include "Values.h"

#include <cstdio>

namespace xllhost {

namespace {
constexpr std::uint16_t OwnershipBits = xlbitXLFree | xlbitDLLFree;
}

std::string CountedText(const char* counted) {
  return std::string(counted + 1, static_cast<unsigned char>(counted[0]));
}

Value Capture(const XLOPER& record) {
  Value value;
  value.xltype = record.xltype;
  switch (record.xltype & ~OwnershipBits) {
    case xltypeNum: value.num = record.val.num; break;
    case xltypeStr:
      value.pointer = record.val.str;
      if (record.val.str != nullptr) value.text = CountedText(record.val.str);
      break;
    case xltypeBool: value.boolean = record.val.xbool != 0; break;
    case xltypeErr: value.err = record.val.err; break;
    case xltypeInt: value.w = record.val.w; break;
    default: break;
  }
  return value;
}

Value ErrorValue(std::uint16_t err) {
  Value value;
  value.xltype = xltypeErr;
  value.err = err;
  return value;
}

std::string Display(const Value& value) {
  char buffer[64];
  switch (value.xltype & ~OwnershipBits) {
    case xltypeNum: std::snprintf(buffer, sizeof buffer, "%.15g", value.num); return buffer;
    case xltypeStr: return value.text;
    case xltypeBool: return value.boolean ? "TRUE" : "FALSE";
    case xltypeInt: return std::to_string(value.w);
    case xltypeNil:
    case xltypeMissing: return "";
    case xltypeErr:
      switch (value.err) {
        case xlerrNull: return "#NULL!";
        case xlerrDiv0: return "#DIV/0!";
        case xlerrValue: return "#VALUE!";
        case xlerrRef: return "#REF!";
        case xlerrName: return "#NAME?";
        case xlerrNum: return "#NUM!";
        case xlerrNA: return "#N/A";
        default: std::snprintf(buffer, sizeof buffer, "#ERR%u", value.err); return buffer;
      }
    default: std::snprintf(buffer, sizeof buffer, "<type 0x%04X>", value.xltype); return buffer;
  }
}

XLOPER NumberRequest(double number, std::uint16_t xltype) {
  XLOPER request{};
  request.val.num = number;
  request.xltype = xltype;
  return request;
}

XLOPER IntegerRequest(std::int16_t integer, std::uint16_t xltype) {
  XLOPER request{};
  request.val.w = integer;
  request.xltype = xltype;
  return request;
}

}  // namespace xllhost
