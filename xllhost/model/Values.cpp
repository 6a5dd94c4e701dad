#include "Values.h"

#include <cctype>

#include <windows.h>

#include <cstdio>

namespace xllhost {

namespace {

template <typename Ref>
void CaptureArea(const Ref& ref, Value& value) {
  value.row = ref.rwFirst;
  value.lastRow = ref.rwLast;
  value.column = ref.colFirst;
  value.lastColumn = ref.colLast;
}

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
    case xltypeInt: value.integer = record.val.w; break;
    case xltypeSRef: CaptureArea(record.val.sref.ref, value); break;
    case xltypeRef: {
      value.sheetId = static_cast<std::int32_t>(record.val.mref.idSheet);
      // The first rectangle is kept; `areas` says how many there were.
      using Mref = std::conditional_t<sizeof(record.val.str[0]) == 1, XLMREF, XLMREF12>;
      const auto* mref = static_cast<const Mref*>(record.val.mref.lpmref);
      value.areas = mref == nullptr ? 0 : mref->count;
      if (value.areas > 0) CaptureArea(mref->reftbl[0], value);
      break;
    }
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

std::uint32_t Value::Type() const { return PlainType(xltype); }

bool IsKnownType(std::uint32_t xltype) {
  switch (PlainType(xltype)) {
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

// The error values and the texts a cell shows for them.
const struct {
  std::uint16_t err;
  const char* text;
} ErrorTexts[] = {{xlerrNull, "#NULL!"}, {xlerrDiv0, "#DIV/0!"}, {xlerrValue, "#VALUE!"},
                  {xlerrRef, "#REF!"},   {xlerrName, "#NAME?"},  {xlerrNum, "#NUM!"},
                  {xlerrNA, "#N/A"},     {xlerrGettingData, "#GETTING_DATA"}};

std::string ErrorText(std::uint16_t err) {
  for (const auto& error : ErrorTexts)
    if (error.err == err) return error.text;
  return "#ERR" + std::to_string(err);
}

bool ErrorCode(const std::string& text, std::uint16_t* err) {
  for (const auto& error : ErrorTexts)
    if (text == error.text) return *err = error.err, true;
  return false;
}

Value IntegerValue(std::int32_t integer) {
  Value value;
  value.xltype = xltypeInt;
  value.integer = integer;
  return value;
}

Value CellReference(int row, int column) { return AreaReference(row, row, column, column); }

Value AreaReference(int firstRow, int lastRow, int firstColumn, int lastColumn, std::int32_t sheetId) {
  Value value;
  value.xltype = sheetId == 0 ? xltypeSRef : xltypeRef;
  value.sheetId = sheetId;
  value.areas = sheetId == 0 ? 0 : 1;
  value.row = firstRow;
  value.lastRow = lastRow;
  value.column = firstColumn;
  value.lastColumn = lastColumn;
  return value;
}

Value SheetReference(std::int32_t sheetId) {
  Value value;
  value.xltype = xltypeRef;
  value.sheetId = sheetId;
  return value;
}

std::string Display(const Value& value) {
  char buffer[64];
  switch (value.Type()) {
    case xltypeNum: std::snprintf(buffer, sizeof buffer, "%.15G", value.num); return buffer;
    case xltypeStr: return value.text;
    case xltypeBool: return value.boolean ? "TRUE" : "FALSE";
    case xltypeInt: return std::to_string(value.integer);
    case xltypeNil:
    case xltypeMissing: return "";
    case xltypeErr: return ErrorText(value.err);
    case xltypeMulti: return value.elements.empty() ? "#VALUE!" : Display(value.elements[0]);
    case xltypeSRef:
    case xltypeRef: {
      std::string text = value.Is(xltypeRef) ? "sheet " + std::to_string(value.sheetId) + (value.areas > 0 ? " " : "") : "";
      if (value.Is(xltypeSRef) || value.areas > 0) {
        std::snprintf(buffer, sizeof buffer, "R%dC%d", value.row + 1, value.column + 1);
        text += buffer;
        if (value.lastRow != value.row || value.lastColumn != value.column) {
          std::snprintf(buffer, sizeof buffer, ":R%dC%d", value.lastRow + 1, value.lastColumn + 1);
          text += buffer;
        }
      }
      return text;
    }
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
