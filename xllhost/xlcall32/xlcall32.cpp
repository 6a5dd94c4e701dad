// Stand-in for the host's xlcall32.dll. Like the host's own, it holds no
// logic: Excel4v forwards to the host executable's exported callback, adding
// the caller's return address so the host knows which add-in is calling.
#include <windows.h>

#include "UTypes.h"

namespace {

using HostCallback = int (*)(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);
HostCallback Host;

}  // namespace

extern "C" int WINAPI Excel4v(int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]) {
  if (Host == nullptr) return xlretFailed;  // not inside a host program
#if defined(_MSC_VER)
  void* caller = _ReturnAddress();
#else
  void* caller = __builtin_return_address(0);
#endif
  return Host(caller, xlfn, operRes, count, opers);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH)
    Host = reinterpret_cast<HostCallback>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), "XllHostExcel4v")));
  return TRUE;
}
