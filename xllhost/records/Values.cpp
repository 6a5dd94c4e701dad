#include "records/Values.h"

#include <cctype>
#include <cstdio>

namespace xllhost {


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

Value ArrayValue(size_t rows, size_t columns) {
  Value value;
  value.xltype = xltypeMulti;
  value.rows = static_cast<int>(rows);
  value.columns = static_cast<int>(columns);
  value.elements.resize(rows * columns);
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
    case xltypeBigData: std::snprintf(buffer, sizeof buffer, "binary data at %p", static_cast<const void*>(value.pointer)); return buffer;
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
