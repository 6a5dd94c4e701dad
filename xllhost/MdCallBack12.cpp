// Linked into the host programs that play an Excel whose executable exports
// its Excel12 callback as "MdCallBack12".
#include "Host.h"

extern "C" __declspec(dllexport) int WINAPI MdCallBack12(int xlfn, int count, void** opers, void* operRes) {
  return xllhost::HostExcel12(xlfn, count, opers, operRes);
}
