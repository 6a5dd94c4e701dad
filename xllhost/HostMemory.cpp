// What the host hands out and the add-in gives back with xlFree: counted
// byte strings, wide counted strings and arrays, each counted until given
// back. An array owns the strings of its elements.
#include <cstdlib>
#include <cstring>

#include "HostState.h"

namespace xllhost {
namespace {

// Element 0 holds the length; a text that does not fit is refused.
template <typename Char>
Char* NewCounted(const std::basic_string<Char>& text) {
  constexpr size_t Limit = sizeof(Char) == 1 ? 255 : 32767;
  if (text.size() > Limit) {
    Fault("the host refused to hand out a text of " + std::to_string(text.size()) +
          " characters: a count says at most " + std::to_string(Limit));
    return nullptr;
  }
  auto* counted = static_cast<Char*>(std::malloc((text.size() + 1) * sizeof(Char)));
  counted[0] = static_cast<Char>(text.size());
  std::memcpy(counted + 1, text.data(), text.size() * sizeof(Char));
  return counted;
}

char* NewText(const std::string& text, char*) { return NewCounted(ToBytes(text)); }
XCHAR* NewText(const std::string& text, XCHAR*) { return NewCounted(ToWide(text)); }

template <typename Record>
void FreeContent(Record& record) {
  switch (record.xltype & ~(xlbitXLFree | xlbitDLLFree)) {
    case xltypeStr: std::free(record.val.str); break;
    case xltypeMulti:
      for (int i = 0; i < record.val.array.rows * record.val.array.columns; ++i)
        FreeContent(record.val.array.lparray[i]);
      std::free(record.val.array.lparray);
      break;
    default: break;
  }
}

// Writes the value into the record, with strings and arrays allocated for
// it; answers false, with nothing allocated, when a text does not fit.
template <typename Record>
bool Fill(const Value& value, Record& record) {
  record = Record{};
  record.xltype = value.Type();
  switch (value.Type()) {
    case xltypeNum: record.val.num = value.num; break;
    case xltypeStr: record.val.str = NewText(value.text, record.val.str); return record.val.str != nullptr;
    case xltypeBool: record.val.xbool = value.boolean; break;
    case xltypeErr: record.val.err = value.err; break;
    case xltypeInt: record.val.w = static_cast<decltype(record.val.w)>(value.w); break;
    case xltypeSRef:
      record.val.sref.count = 1;
      record.val.sref.ref.rwFirst = record.val.sref.ref.rwLast =
          static_cast<decltype(record.val.sref.ref.rwFirst)>(value.rows);
      record.val.sref.ref.colFirst = record.val.sref.ref.colLast =
          static_cast<decltype(record.val.sref.ref.colFirst)>(value.columns);
      break;
    case xltypeRef: record.val.mref.idSheet = static_cast<std::uintptr_t>(value.w); break;
    case xltypeMulti: {
      auto* elements = static_cast<Record*>(std::calloc(value.elements.size(), sizeof(Record)));
      for (size_t i = 0; i < value.elements.size(); ++i) {
        if (Fill(value.elements[i], elements[i])) continue;
        for (size_t j = 0; j < i; ++j) FreeContent(elements[j]);
        std::free(elements);
        return false;
      }
      record.val.array.lparray = elements;
      record.val.array.rows = static_cast<decltype(record.val.array.rows)>(value.rows);
      record.val.array.columns = static_cast<decltype(record.val.array.columns)>(value.columns);
      break;
    }
    default: break;
  }
  return true;
}

template <typename Record>
const void* HeldMemory(const Record& record) {
  switch (record.xltype & ~(xlbitXLFree | xlbitDLLFree)) {
    case xltypeStr: return record.val.str;
    case xltypeMulti: return record.val.array.lparray;
    default: return nullptr;
  }
}

template <typename Record>
bool HandOutRecord(const Value& value, Record& record) {
  if (!Fill(value, record)) return false;
  if (const void* memory = HeldMemory(record)) {
    Host().outstanding.insert(memory);
    Host().released.erase(memory);
  }
  return true;
}

// Memory that is no longer outstanding is reported, not released: releasing
// it would corrupt the heap.
template <typename Record>
void ReleaseRecord(Record& record, const char* by) {
  State& host = Host();
  const void* memory = HeldMemory(record);
  if (memory == nullptr) return;
  if (host.outstanding.erase(memory) == 1) {
    FreeContent(record);
    host.released.insert(memory);
    if (host.behaviour.freeClearsPointer) {
      if ((record.xltype & ~(xlbitXLFree | xlbitDLLFree)) == xltypeStr)
        record.val.str = nullptr;
      else
        record.val.array.lparray = nullptr;
    }
  } else if (host.released.count(memory) != 0) {
    Fault(std::string(by) + ": memory of the host given back twice");
  } else {
    Fault(std::string(by) + ": given back memory the host never handed out");
  }
}

}  // namespace

bool HandOut(const Value& value, XLOPER& record) { return HandOutRecord(value, record); }
bool HandOut(const Value& value, XLOPER12& record) { return HandOutRecord(value, record); }

void ReleaseHostMemory(XLOPER& record, const char* by) { ReleaseRecord(record, by); }
void ReleaseHostMemory(XLOPER12& record, const char* by) { ReleaseRecord(record, by); }

int OutstandingStrings() { return static_cast<int>(Host().outstanding.size()); }

}  // namespace xllhost
