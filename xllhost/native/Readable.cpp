#include "Readable.h"

#include <windows.h>

#include <cstdio>

namespace xllhost {

std::string WhyNotReadable(const void* address, std::size_t bytes, const void* deadBelow) {
  char at[32];
  std::snprintf(at, sizeof at, "0x%p", address);
  // The thread's stack is reserved from the allocation that holds the
  // boundary upwards.
  const auto* p = static_cast<const char*>(address);
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

}  // namespace xllhost
