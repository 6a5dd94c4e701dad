// The host program's end of the stand-in xlcall32.dll: every program that
// plays the host links this file, so that its executable exports the callback.
#include "callbacks/Callbacks.h"

extern "C" __declspec(dllexport) int XllHostExcel4v(void* caller, int xlfn, LPXLOPER operRes, int count,
                                                    LPXLOPER opers[]) {
  return xllhost::HandleExcel4v(caller, xlfn, operRes, count, opers);
}

extern "C" __declspec(dllexport) void XllHostUnprovided(void* caller, const char* function) {
  xllhost::HandleUnprovided(caller, function);
}
