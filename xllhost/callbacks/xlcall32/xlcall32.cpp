// Stand-in for the host's xlcall32.dll. Like the host's own, it holds no
// logic: each callback forwards to the host executable's exported one,
// adding the caller's return address so the host knows which add-in calls.
// It exports what Excel's xlcall32.dll exports (creating-xlls.md): Excel4,
// Excel4v and XLCallVer, and LPenHelper; xlcall32.def gives each function
// below the name Excel calls it by.
#include <windows.h>

#include <stdarg.h>

#include "UTypes.h"

// The address the exported callback returns to: inside the calling add-in.
#if defined(_MSC_VER)
#include <intrin.h>
#define CALLER_ADDRESS() _ReturnAddress()
#else
#define CALLER_ADDRESS() __builtin_return_address(0)
#endif

namespace {

using HostCallback = int (*)(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);
using HostNotice = void (*)(void* caller, const char* function);
HostCallback Host;
HostNotice Unprovided;

}  // namespace

extern "C" int WINAPI StandInExcel4v(int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]) {
  if (Host == nullptr) return xlretFailed;  // not inside a host program
  return Host(CALLER_ADDRESS(), xlfn, operRes, count, opers);
}

// The records after `count` are read as Excel4v's array; a count the host
// cannot take reaches it without one, and it answers xlretInvCount.
extern "C" int __cdecl StandInExcel4(int xlfn, LPXLOPER operRes, int count, ...) {
  if (Host == nullptr) return xlretFailed;
  LPXLOPER opers[255] = {};
  const bool usable = count >= 0 && count <= 255;
  va_list records;
  va_start(records, count);
  for (int i = 0; usable && i < count; ++i) opers[i] = va_arg(records, LPXLOPER);
  va_end(records);
  return Host(CALLER_ADDRESS(), xlfn, operRes, count, usable ? opers : nullptr);
}

// The version of the C API: 12.0 (0x0C00) since Excel 2007, whose callbacks
// Excel12 and Excel12v this host offers too. The reference says XLCallVer
// tells the C API version (backward-compatibility.md) but not its value;
// add-ins compare it with 0x0C00 to choose the Excel 2007 interface.
extern "C" int WINAPI StandInXLCallVer() { return 0x0C00; }

// Pen input from Excel's early versions, which xllhost does not model: the
// call fails and the host names it.
extern "C" long WINAPI StandInLPenHelper(int, void*) {
  if (Unprovided != nullptr) Unprovided(CALLER_ADDRESS(), "LPenHelper");
  return xlretFailed;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HMODULE host = GetModuleHandleA(nullptr);
    Host = reinterpret_cast<HostCallback>(reinterpret_cast<void*>(GetProcAddress(host, "XllHostExcel4v")));
    Unprovided = reinterpret_cast<HostNotice>(reinterpret_cast<void*>(GetProcAddress(host, "XllHostUnprovided")));
  }
  return TRUE;
}
