#include "Values.h"

#include <cctype>

#include <windows.h>

#include <cstdio>

namespace xllhost {

namespace {
constexpr std::uint32_t OwnershipBits = xlbitXLFree | xlbitDLLFree;

// The one copy of both interfaces' records: they differ in the width of
// their integers, their strings and their array bounds only.
template <typename Record>
Value CaptureRecord(const Record& record) {
  Value value;
  value.xltype = record.xltype;
  switch (value.Type()) {
    case xltypeNum: value.num = record.val.num; break;
    case xltypeStr:
      value.pointer = reinterpret_cast<const char*>(record.val.str);
      if (record.val.str != nullptr) value.text = CountedText(record.val.str);
      break;
    case xltypeBool: value.boolean = record.val.xbool != 0; break;
    case xltypeErr: value.err = static_cast<std::uint16_t>(record.val.err); break;
    case xltypeInt: value.w = record.val.w; break;
    case xltypeSRef:
      value.rows = record.val.sref.ref.rwFirst;
      value.columns = record.val.sref.ref.colFirst;
      break;
    case xltypeRef: value.w = static_cast<std::int32_t>(record.val.mref.idSheet); break;
    case xltypeMulti:
      value.pointer = reinterpret_cast<const char*>(record.val.array.lparray);
      value.rows = record.val.array.rows;
      value.columns = record.val.array.columns;
      if (record.val.array.lparray != nullptr && value.rows > 0 && value.columns > 0)
        for (int i = 0; i < value.rows * value.columns; ++i)
          value.elements.push_back(CaptureRecord(record.val.array.lparray[i]));
      break;
    default: break;
  }
  return value;
}

std::wstring Widen(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace

std::uint32_t Value::Type() const { return xltype & ~OwnershipBits; }

bool IsKnownType(std::uint32_t xltype) {
  switch (xltype & ~OwnershipBits) {
    case xltypeNum:
    case xltypeStr:
    case xltypeBool:
    case xltypeRef:
    case xltypeErr:
    case xltypeFlow:
    case xltypeMulti:
    case xltypeMissing:
    case xltypeNil:
    case xltypeSRef:
    case xltypeInt:
    case xltypeBigData: return true;
    default: return false;
  }
}

std::string CountedText(const char* counted) {
  return FromBytes(std::string(counted + 1, static_cast<unsigned char>(counted[0])));
}

std::string CountedText(const XCHAR* counted) {
  return FromWide(std::wstring(counted + 1, static_cast<std::uint16_t>(counted[0])));
}

std::string FromWide(const std::wstring& wide) { return Narrow(CP_UTF8, wide); }

std::wstring ToWide(const std::string& text) { return Widen(CP_UTF8, text); }

// Byte strings are in the host's code page, as the Excel4 interface has them.
std::string FromBytes(const std::string& bytes) { return FromWide(Widen(CP_ACP, bytes)); }

std::string ToBytes(const std::string& text) { return Narrow(CP_ACP, ToWide(text)); }

Value Capture(const XLOPER& record) { return CaptureRecord(record); }

Value Capture(const XLOPER12& record) { return CaptureRecord(record); }

Value ErrorValue(std::uint16_t err) {
  Value value;
  value.xltype = xltypeErr;
  value.err = err;
  return value;
}

Value NumberValue(double number) {
  Value value;
  value.xltype = xltypeNum;
  value.num = number;
  return value;
}

Value TextValue(const std::string& text) {
  Value value;
  value.xltype = xltypeStr;
  value.text = text;
  return value;
}

Value BooleanValue(bool boolean) {
  Value value;
  value.xltype = xltypeBool;
  value.boolean = boolean;
  return value;
}

Value MissingValue() {
  Value value;
  value.xltype = xltypeMissing;
  return value;
}

std::string ErrorText(std::uint16_t err) {
  switch (err) {
    case xlerrNull: return "#NULL!";
    case xlerrDiv0: return "#DIV/0!";
    case xlerrValue: return "#VALUE!";
    case xlerrRef: return "#REF!";
    case xlerrName: return "#NAME?";
    case xlerrNum: return "#NUM!";
    case xlerrNA: return "#N/A";
    case xlerrGettingData: return "#GETTING_DATA";
    default: return "#ERR" + std::to_string(err);
  }
}

std::string Display(const Value& value) {
  char buffer[64];
  switch (value.Type()) {
    case xltypeNum: std::snprintf(buffer, sizeof buffer, "%.15G", value.num); return buffer;
    case xltypeStr: return value.text;
    case xltypeBool: return value.boolean ? "TRUE" : "FALSE";
    case xltypeInt: return std::to_string(value.w);
    case xltypeNil:
    case xltypeMissing: return "";
    case xltypeErr: return ErrorText(value.err);
    case xltypeMulti: return value.elements.empty() ? "#VALUE!" : Display(value.elements[0]);
    case xltypeSRef: std::snprintf(buffer, sizeof buffer, "R%dC%d", value.rows + 1, value.columns + 1); return buffer;
    default: std::snprintf(buffer, sizeof buffer, "<type 0x%04X>", static_cast<unsigned>(value.xltype)); return buffer;
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

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace xllhost
