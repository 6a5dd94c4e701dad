// Records copied into values, and text between the interfaces' encodings:
// the part of Values.h that needs Windows' code pages.
#include <windows.h>

#include "records/Values.h"

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
    case xltypeBigData:
      // The data's address or handle, and its size; only xlDefineBinaryName
      // reads the bytes behind it, and checks them first.
      value.pointer = static_cast<const char*>(record.val.bigdata.h.hdata);
      value.integer = static_cast<std::int32_t>(record.val.bigdata.cbData);
      break;
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

}  // namespace xllhost
