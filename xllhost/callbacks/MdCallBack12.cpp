// Linked into the host programs that play an Excel whose executable exports
// its Excel12 callback as "MdCallBack12", where an add-in's Excel12v finds it.
#include "callbacks/Callbacks.h"

extern "C" __declspec(dllexport) int WINAPI MdCallBack12(int xlfn, int count, LPXLOPER12 opers[], LPXLOPER12 operRes) {
  return xllhost::HandleExcel12v(__builtin_return_address(0), xlfn, operRes, count, opers);
}
