#include "native/ExceptionText.h"

#include <cstdint>

namespace xllhost {
namespace {

// Text written into a fixed buffer, cut at its end.
struct Phrase {
  char* at;
  char* end;

  void Add(const char* part) {
    while (*part != '\0' && at < end) *at++ = *part++;
  }
  void Add(const char* part, std::size_t length) {
    for (std::size_t i = 0; i < length && at < end; ++i) *at++ = part[i];
  }
  void AddHex(ULONG_PTR value) {
    char hex[2 * sizeof(ULONG_PTR) + 3] = "0x";
    for (int i = 2 * sizeof(ULONG_PTR) + 1; i >= 2; --i, value >>= 4) hex[i] = "0123456789ABCDEF"[value & 0xF];
    Add(hex);
  }
};

bool CanRead(const void* address, std::size_t bytes) {
  MEMORY_BASIC_INFORMATION memory{};
  if (address == nullptr || VirtualQuery(address, &memory, sizeof memory) == 0 || memory.State != MEM_COMMIT) return false;
  const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                         PAGE_EXECUTE_WRITECOPY;
  const auto from = reinterpret_cast<ULONG_PTR>(address);
  const auto regionEnd = reinterpret_cast<ULONG_PTR>(memory.BaseAddress) + memory.RegionSize;
  return (memory.Protect & readable) != 0 && (memory.Protect & PAGE_GUARD) == 0 && bytes <= regionEnd - from;
}

// Visual C++ throws with RaiseException(0xE06D7363): its parameters are a
// magic number, the object thrown, its ThrowInfo and, on 64-bit, the image
// base that the ThrowInfo's fields are offsets from (on 32-bit they are
// addresses). ThrowInfo's fourth field leads to the types a handler may
// catch the object as, the first of which is the thrown type itself, and
// that type's descriptor holds its decorated name after two pointers.
constexpr DWORD VisualCppException = 0xE06D7363;

const void* At(ULONG_PTR base, std::int32_t field) {
  return reinterpret_cast<const void*>(base + static_cast<ULONG_PTR>(static_cast<std::uint32_t>(field)));
}

// The decorated name of the thrown type, such as ".?AVruntime_error@std@@";
// null when any step cannot be read.
const char* ThrownTypeName(const EXCEPTION_RECORD& record) {
  if (record.NumberParameters < 3) return nullptr;
  const ULONG_PTR base = record.NumberParameters >= 4 && sizeof(void*) == 8 ? record.ExceptionInformation[3] : 0;
  const auto* throwInfo = reinterpret_cast<const std::int32_t*>(record.ExceptionInformation[2]);
  if (!CanRead(throwInfo, 4 * sizeof(std::int32_t))) return nullptr;
  const auto* catchable = static_cast<const std::int32_t*>(At(base, throwInfo[3]));
  if (!CanRead(catchable, 2 * sizeof(std::int32_t)) || catchable[0] < 1) return nullptr;
  const auto* type = static_cast<const std::int32_t*>(At(base, catchable[1]));
  if (!CanRead(type, 2 * sizeof(std::int32_t))) return nullptr;
  const auto* name = static_cast<const char*>(At(base, type[1])) + 2 * sizeof(void*);
  for (std::size_t i = 0; i < 256; ++i) {
    if (!CanRead(name + i, 1)) return nullptr;
    if (name[i] == '\0') return name;
  }
  return nullptr;
}

// ".?AVruntime_error@std@@" written as std::runtime_error: a class or a
// struct whose parts, innermost first, each end in "@", and the name in
// "@". A decoration with more in it (a template) is written as it stands.
void AddTypeName(Phrase& words, const char* decorated) {
  const bool classOrStruct = decorated[0] == '.' && decorated[1] == '?' && decorated[2] == 'A' &&
                             (decorated[3] == 'V' || decorated[3] == 'U');
  const char* parts[8];
  std::size_t lengths[8];
  int count = 0;
  const char* at = decorated + 4;
  while (classOrStruct && count < 8 && *at != '@' && *at != '\0') {
    const char* part = at;
    while (*at != '@' && *at != '\0' && *at != '?' && *at != '$') ++at;
    if (*at != '@') break;
    parts[count] = part;
    lengths[count++] = static_cast<std::size_t>(at++ - part);
  }
  if (!classOrStruct || count == 0 || at[0] != '@' || at[1] != '\0') return words.Add(decorated);
  for (int i = count; i-- > 0;) {
    words.Add(parts[i], lengths[i]);
    if (i != 0) words.Add("::");
  }
}

}  // namespace

void DescribeException(const EXCEPTION_RECORD& record, char* out, std::size_t size) {
  Phrase words{out, out + size - 1};
  switch (record.ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
      words.Add("an access violation");
      if (record.NumberParameters >= 2) {
        const ULONG_PTR how = record.ExceptionInformation[0];
        words.Add(how == 0 ? " reading address " : how == 8 ? " executing address " : " writing address ");
        words.AddHex(record.ExceptionInformation[1]);
      }
      break;
    case EXCEPTION_BREAKPOINT:
      words.Add("a breakpoint the code set off (DebugBreak or int 3), which in Excel ends Excel unless a debugger "
                "is attached");
      break;
    case EXCEPTION_STACK_OVERFLOW: words.Add("a stack overflow"); break;
    case EXCEPTION_INT_DIVIDE_BY_ZERO: words.Add("an integer division by zero"); break;
    case EXCEPTION_ILLEGAL_INSTRUCTION: words.Add("an illegal instruction"); break;
    case EXCEPTION_PRIV_INSTRUCTION: words.Add("a privileged instruction"); break;
    case VisualCppException:
      if (const char* type = ThrownTypeName(record)) {
        words.Add("a C++ exception of type ");
        AddTypeName(words, type);
        words.Add(" that no handler caught");
      } else {
        words.Add("a C++ exception (Visual C++'s) that no handler caught");
      }
      break;
    default: words.Add("an exception"); break;
  }
  *words.at = '\0';
}

}  // namespace xllhost
