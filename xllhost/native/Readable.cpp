#include "native/Readable.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <type_traits>

namespace xllhost {

namespace {

// Whether the bytes lie in the thread's committed stack above `deadBelow`
// (from its limit when null): readable without asking Windows, which is how
// most records an add-in hands over are kept, so that the check costs a
// callback next to nothing.
bool InLiveStack(const char* p, std::size_t bytes, const void* deadBelow) {
  // GCC 12 takes the segment read of MinGW's NtCurrentTeb for an array read.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
  const auto* tib = reinterpret_cast<const NT_TIB*>(NtCurrentTeb());
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
  const auto* low = static_cast<const char*>(tib->StackLimit);
  const auto* high = static_cast<const char*>(tib->StackBase);
  if (deadBelow != nullptr) low = std::max(low, static_cast<const char*>(deadBelow));
  return p >= low && p < high && bytes <= static_cast<std::size_t>(high - p);
}

}  // namespace

std::string WhyNotReadable(const void* address, std::size_t bytes, const void* deadBelow) {
  const auto* p = static_cast<const char*>(address);
  if (InLiveStack(p, bytes, deadBelow)) return "";
  char at[32];
  std::snprintf(at, sizeof at, "0x%p", address);
  // The thread's stack is reserved from the allocation that holds the
  // boundary upwards.
  MEMORY_BASIC_INFORMATION stack{};
  if (deadBelow != nullptr && VirtualQuery(deadBelow, &stack, sizeof stack) != 0 &&
      p >= static_cast<const char*>(stack.AllocationBase) && p < static_cast<const char*>(deadBelow))
    return std::string("points into the stack of a call that has returned (") + at + ")";
  for (const char* next = p; next < p + bytes;) {
    MEMORY_BASIC_INFORMATION memory{};
    if (VirtualQuery(next, &memory, sizeof memory) == 0 || memory.State != MEM_COMMIT)
      return std::string("points to no memory (") + at + ")";
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if ((memory.Protect & readable) == 0 || (memory.Protect & PAGE_GUARD) != 0)
      return std::string("points to memory that cannot be read (") + at + ")";
    next = static_cast<const char*>(memory.BaseAddress) + memory.RegionSize;
  }
  return "";
}

namespace {

template <typename Record>
std::string WhyUnreadable(const Record* record, const void* deadBelow) {
  using Char = std::remove_pointer_t<decltype(record->val.str)>;
  if (std::string why = WhyNotReadable(record, sizeof(Record), deadBelow); !why.empty()) return why;
  // A null text is read as none: xlFree leaves one in the records it frees.
  const auto text = [](const Char* counted) {
    if (counted == nullptr) return std::string();
    std::string why = WhyNotReadable(counted, sizeof(Char));
    const auto count = static_cast<size_t>(static_cast<std::make_unsigned_t<Char>>(why.empty() ? counted[0] : 0));
    if (why.empty()) why = WhyNotReadable(counted, (count + 1) * sizeof(Char));
    return why;
  };
  const auto type = record->xltype & ~(xlbitXLFree | xlbitDLLFree);
  if (type == xltypeStr) {
    const std::string why = text(record->val.str);
    return why.empty() ? "" : "is a record whose text " + why;
  }
  if (type != xltypeMulti || record->val.array.rows <= 0 || record->val.array.columns <= 0) return "";
  const size_t count = static_cast<size_t>(record->val.array.rows) * static_cast<size_t>(record->val.array.columns);
  if (const std::string why = WhyNotReadable(record->val.array.lparray, count * sizeof(Record)); !why.empty())
    return "is a record whose array " + why;
  for (size_t i = 0; i < count; ++i) {
    const Record& element = record->val.array.lparray[i];
    if ((element.xltype & ~(xlbitXLFree | xlbitDLLFree)) != xltypeStr) continue;
    if (const std::string why = text(element.val.str); !why.empty())
      return "is an array whose element " + std::to_string(i + 1) + " has a text that " + why;
  }
  return "";
}

}  // namespace

std::string WhyRecordUnreadable(const XLOPER* record, const void* deadBelow) { return WhyUnreadable(record, deadBelow); }
std::string WhyRecordUnreadable(const XLOPER12* record, const void* deadBelow) {
  return WhyUnreadable(record, deadBelow);
}

}  // namespace xllhost
