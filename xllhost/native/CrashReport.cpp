// The report of a crash runs in a process whose heap or locks the crash may
// have left broken: it allocates nothing, takes no lock (not even the
// loader's, so it names the module from its export directory) and writes
// straight to the standard error handle.
#include "native/CrashReport.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "native/ExceptionText.h"
#include "state/CallContext.h"

namespace xllhost {
namespace {

struct Line {
  char text[768];
  int length = 0;

  void Add(const char* part) {
    while (*part != '\0' && length < static_cast<int>(sizeof text) - 1) text[length++] = *part++;
  }
  void AddHex(ULONG_PTR value, int digits) {
    char hex[2 * sizeof(ULONG_PTR) + 1];
    for (int i = digits - 1; i >= 0; --i, value >>= 4) hex[i] = "0123456789ABCDEF"[value & 0xF];
    hex[digits] = '\0';
    Add(hex);
  }
};

}  // namespace

// Reads the image's headers in place: the loader's lock, which a crashed or
// hung thread may hold, is never taken.
const void* ImageBase(const void* address) {
  MEMORY_BASIC_INFORMATION memory{};
  if (VirtualQuery(address, &memory, sizeof memory) == 0 || memory.Type != MEM_IMAGE) return nullptr;
  return memory.AllocationBase;
}

const char* ExportedModuleName(const void* address) {
  auto* base = static_cast<const unsigned char*>(ImageBase(address));
  if (base == nullptr) return nullptr;
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& exports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (exports.VirtualAddress == 0) return nullptr;
  auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + exports.VirtualAddress);
  return reinterpret_cast<const char*>(base + directory->Name);
}

namespace {

// The images remembered, in fixed storage: the report allocates nothing.
struct Image {
  ULONG_PTR base = 0, size = 0;
  char path[MAX_PATH] = {};
};
Image Images[64];
unsigned Remembered = 0;
LastWords Words = nullptr;
LONG Crashed = 0;

// Ends the run with the line and the call into the add-in it happened in.
[[noreturn]] void EndInTheCallRunning(Line& line) {
  if (const std::string* running = RunningHere()) {
    line.Add(", while ");
    line.Add(running->c_str());
    line.Add(" ran");
  }
  line.text[line.length] = '\0';
  EndWithLastWords(line.text);
}

// What happened, where and in which call: "crash: an access violation
// writing address 0x... (exception 0xC0000005) at 0x... in addin.xll, while
// cell A1 =Boom() ran".
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  std::fflush(stdout);  // what the host printed while the add-in ran
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  char what[256];
  DescribeException(record, what, sizeof what);
  Line line;
  line.Add("crash: ");
  line.Add(what);
  // Visual C++ throws through RaiseException: the thrower is the image that
  // holds the thrown type's records.
  if (record.ExceptionCode == 0xE06D7363 && record.NumberParameters >= 3) {
    if (const char* thrower = ModuleName(reinterpret_cast<const void*>(record.ExceptionInformation[2]))) {
      line.Add(", thrown in ");
      line.Add(thrower);
    }
  }
  line.Add(" (exception 0x");
  line.AddHex(record.ExceptionCode, 8);
  line.Add(") at 0x");
  line.AddHex(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress), 2 * sizeof(void*));
  const char* module = ModuleName(record.ExceptionAddress);
  const char* gone = module == nullptr ? ImageNoLongerLoaded(record.ExceptionAddress) : nullptr;
  line.Add(" in ");
  if (module != nullptr) {
    line.Add(module);
  } else if (gone != nullptr) {
    line.Add("the image of ");
    line.Add(gone);
    line.Add(", no longer loaded");
  } else {
    line.Add("code of no named module");
  }
  EndInTheCallRunning(line);
}

}  // namespace

void RememberImage(HMODULE module, const char* path) {
  auto* base = reinterpret_cast<const unsigned char*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  Image& image = Images[Remembered++ % (sizeof Images / sizeof Images[0])];
  image.base = reinterpret_cast<ULONG_PTR>(module);
  image.size = nt->OptionalHeader.SizeOfImage;
  lstrcpynA(image.path, path, MAX_PATH);
}

const char* ModuleName(const void* address) {
  const void* base = ImageBase(address);
  if (base == nullptr) return nullptr;
  const unsigned count = Remembered < 64 ? Remembered : 64;
  for (unsigned i = count; i-- > 0;) {
    const Image& image = Images[(Remembered - count + i) % 64];
    if (image.base != reinterpret_cast<ULONG_PTR>(base)) continue;
    const char* file = image.path;
    for (const char* c = image.path; *c != '\0'; ++c)
      if (*c == '\\' || *c == '/') file = c + 1;
    return file;
  }
  return ExportedModuleName(address);
}

const char* ImageNoLongerLoaded(const void* address) {
  if (ImageBase(address) != nullptr) return nullptr;
  const auto at = reinterpret_cast<ULONG_PTR>(address);
  const unsigned count = Remembered < 64 ? Remembered : 64;
  for (unsigned i = count; i-- > 0;) {  // the latest first: an address may have held several images
    const Image& image = Images[(Remembered - count + i) % 64];
    if (at >= image.base && at - image.base < image.size) return image.path;
  }
  return nullptr;
}

// Standard output is buffered: under Wine each write costs milliseconds. It
// is flushed whenever control passes to an add-in (see WithControl) and by
// the crash report, so a crash or a hang loses nothing the host printed.
void OnCrash(LastWords words) { Words = words; }

void EndWithLastWords(const char* said) {
  Line line;
  line.Add("xllhost: ");
  line.Add(said);
  line.Add("\n");
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.text, static_cast<DWORD>(line.length), &written, nullptr);
  if (Words != nullptr && InterlockedExchange(&Crashed, 1) == 0) Words(said);
  TerminateProcess(GetCurrentProcess(), 3);
  for (;;) Sleep(INFINITE);  // TerminateProcess does not return for the calling process
}

void ExitOnCrash() {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  SetUnhandledExceptionFilter(ReportCrash);
  // abort() of the C runtime the add-ins share with the host (msvcrt.dll),
  // as after an assertion's dialog answered Abort, ends the run the same way.
  std::signal(SIGABRT, [](int) {
    std::fflush(stdout);
    Line line;
    line.Add("crash: abort() was called, as a C runtime does after a failed assertion answered Abort, and a C++ "
             "runtime when an exception leaves a function (GCC's names the exception above)");
    EndInTheCallRunning(line);
  });
}

}  // namespace xllhost
