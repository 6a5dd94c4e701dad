// Values as the host sees them: copies of records of both interfaces, what a
// cell shows for them, and records built for requests. Copies of records and
// the conversions of text are in Records.cpp, which needs Windows; the rest
// builds anywhere.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
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
  std::int32_t integer = 0;       // for integers, and the size of binary data
  std::uint16_t err = 0;
  bool boolean = false;
  std::int32_t sheetId = 0;     // for a reference to a sheet (xltypeRef)
  int areas = 0;                // the rectangles of an xltypeRef: 0 for the sheet alone, or 1
  int row = 0, column = 0;      // a reference's first cell (xltypeSRef, xltypeRef), from 0
  int lastRow = 0, lastColumn = 0;  // and its last
  int rows = 0, columns = 0;    // for arrays
  std::vector<Value> elements;  // for arrays, row by row

  std::uint32_t Type() const;  // the type without ownership bits
  bool Is(std::uint32_t type) const { return Type() == type; }
};

// An interface's records and the limits of its strings.
enum class Interface { Excel4, Excel12 };

// A type word without its ownership bits (xlbitXLFree, xlbitDLLFree).
constexpr std::uint32_t PlainType(std::uint32_t xltype) { return xltype & ~(xlbitXLFree | xlbitDLLFree); }
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
Value IntegerValue(std::int32_t integer);
// An array of rows by columns, each element empty (xltypeNil) until set.
Value ArrayValue(size_t rows, size_t columns);
Value CellReference(int row, int column);  // xltypeSRef
// A rectangle of the current sheet (xltypeSRef), or with a sheet's id of
// that sheet (xltypeRef with one rectangle).
Value AreaReference(int firstRow, int lastRow, int firstColumn, int lastColumn, std::int32_t sheetId = 0);
Value SheetReference(std::int32_t sheetId);  // xltypeRef without rectangles
// The text of a counted string; element 0 says how many characters follow.
std::string CountedText(const char* counted);
std::string CountedText(const XCHAR* counted);
// Whether a counted text's count includes its terminating NUL: one NUL,
// last. Add-ins of several frameworks count it ("Math\0" counted 5), and
// Excel takes the text up to it.
inline bool CountsItsNul(const std::string& text) { return !text.empty() && text.find('\0') == text.size() - 1; }
// Conversions between UTF-8 and the host's byte strings and wide strings.
std::string FromBytes(const std::string& bytes);
std::string ToBytes(const std::string& text);
std::string FromWide(const std::wstring& wide);
std::wstring ToWide(const std::string& text);
// What a cell would show for the value: the text, the number with 15
// significant digits, TRUE/FALSE, #VALUE!..., an array's top-left element.
std::string Display(const Value& value);
std::string ErrorText(std::uint16_t err);
// The error code a cell's error text names; false when it names none.
bool ErrorCode(const std::string& text, std::uint16_t* err);

// The most characters a counted string holds: its count is one element.
template <typename Char>
constexpr size_t MaxCount = sizeof(Char) == 1 ? 255 : 32767;

// The text in an interface's characters: bytes of the host's code page, or UTF-16.
template <typename Char>
std::basic_string<Char> Encoded(const std::string& text) {
  if constexpr (sizeof(Char) == 1) {
    return ToBytes(text);
  } else {
    return ToWide(text);
  }
}

// The length of the value's longest text, its array's elements included,
// in an interface's characters.
template <typename Char>
size_t LongestText(const Value& value) {
  size_t longest = value.Is(xltypeStr) ? Encoded<Char>(value.text).size() : 0;
  for (const Value& element : value.elements) longest = std::max(longest, LongestText<Char>(element));
  return longest;
}

// A reference's rectangle in either interface's bounds.
template <typename Ref>
void WriteArea(const Value& value, Ref& ref) {
  ref.rwFirst = static_cast<decltype(ref.rwFirst)>(value.row);
  ref.rwLast = static_cast<decltype(ref.rwLast)>(value.lastRow);
  ref.colFirst = static_cast<decltype(ref.colFirst)>(value.column);
  ref.colLast = static_cast<decltype(ref.colLast)>(value.lastColumn);
}

// Writes the value into a record of either interface. Its strings, counted
// and cut at MaxCount, and its array are kept by `storage`, which answers a
// stable address for each: Keep(counted string) and KeepArray<Record>(n),
// the latter zeroed.
template <typename Record, typename Storage>
void WriteRecord(const Value& value, Record& record, Storage& storage) {
  using Char = std::remove_pointer_t<decltype(record.val.str)>;
  record = Record{};
  record.xltype = value.Type();
  switch (value.Type()) {
    case xltypeNum: record.val.num = value.num; break;
    case xltypeStr: {
      std::basic_string<Char> text = Encoded<Char>(value.text);
      text.resize(std::min(text.size(), MaxCount<Char>));
      record.val.str = storage.Keep(std::basic_string<Char>(1, static_cast<Char>(text.size())) + text);
      break;
    }
    case xltypeBool: record.val.xbool = value.boolean; break;
    case xltypeErr: record.val.err = value.err; break;
    case xltypeInt: record.val.w = static_cast<decltype(record.val.w)>(value.integer); break;
    case xltypeBigData:  // a handle the host hands out (xlGetInstPtr, xlGetBinaryName), and its data's size
      record.val.bigdata.h.hdata = const_cast<char*>(value.pointer);
      record.val.bigdata.cbData = value.integer;
      break;
    case xltypeSRef:
      record.val.sref.count = 1;
      WriteArea(value, record.val.sref.ref);
      break;
    case xltypeRef:
      record.val.mref.idSheet = static_cast<std::uintptr_t>(value.sheetId);
      if (value.areas > 0) {
        // One rectangle, in memory the storage keeps, as XLMREF or XLMREF12.
        using Mref = std::conditional_t<sizeof(Char) == 1, XLMREF, XLMREF12>;
        Mref* mref = storage.template KeepArray<Mref>(1);
        mref->count = 1;
        WriteArea(value, mref->reftbl[0]);
        record.val.mref.lpmref = mref;
      }
      break;
    case xltypeMulti: {
      Record* elements = storage.template KeepArray<Record>(value.elements.size());
      for (size_t i = 0; i < value.elements.size(); ++i) WriteRecord(value.elements[i], elements[i], storage);
      record.val.array.lparray = elements;
      record.val.array.rows = static_cast<decltype(record.val.array.rows)>(value.rows);
      record.val.array.columns = static_cast<decltype(record.val.array.columns)>(value.columns);
      break;
    }
    default: break;
  }
}

// Request records, as a host builds them. The type word may be given, so that
// a test can hand over words with further bits set.
XLOPER NumberRequest(double number, std::uint16_t xltype = xltypeNum);
XLOPER IntegerRequest(std::int16_t integer, std::uint16_t xltype = xltypeInt);

// The text in upper case, as names and keywords compare.
std::string Upper(std::string text);

}  // namespace xllhost
