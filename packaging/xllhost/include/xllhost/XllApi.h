// The calls an XLL add-in makes into its host, declared by this project for
// add-ins built against xllhost's package (the records and codes come from
// UTypes.h beside this file). An add-in may use Microsoft's SDK header
// instead; it is linked the same way.
//
// Excel4, Excel4v and XLCallVer are exports of xlcall32.dll, bound through
// the import library libxlcall32.a. Excel12 and Excel12v are not in that
// DLL: since Excel 2007 the host's executable exports its Excel12 callback
// as MdCallBack12, and an add-in finds it at run time in the module that
// started the process. xllhost.exe exports it as Excel does.
#pragma once

#include <windows.h>

#include <stdarg.h>

#include "UTypes.h"

extern "C" {
int WINAPI Excel4v(int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);
int __cdecl Excel4(int xlfn, LPXLOPER operRes, int count, ...);
int WINAPI XLCallVer();
}

// The host's Excel12 callback, looked up once; null in a host without one
// (Excel before 2007), where every Excel12 call fails.
using XllMdCallBack12 = int(WINAPI*)(int xlfn, int count, LPXLOPER12 opers[], LPXLOPER12 operRes);
inline XllMdCallBack12 XllHostCallback12() {
  static const XllMdCallBack12 callback = reinterpret_cast<XllMdCallBack12>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), "MdCallBack12")));
  return callback;
}

// Note the order: MdCallBack12 takes the count and records before the result.
inline int Excel12v(int xlfn, LPXLOPER12 operRes, int count, LPXLOPER12 opers[]) {
  XllMdCallBack12 callback = XllHostCallback12();
  return callback != nullptr ? callback(xlfn, count, opers, operRes) : xlretFailed;
}

// At most 255 records, as Excel takes; more is xlretInvCount, as from Excel.
inline int Excel12(int xlfn, LPXLOPER12 operRes, int count, ...) {
  if (count < 0 || count > 255) return xlretInvCount;
  LPXLOPER12 opers[255];
  va_list records;
  va_start(records, count);
  for (int i = 0; i < count; ++i) opers[i] = va_arg(records, LPXLOPER12);
  va_end(records);
  return Excel12v(xlfn, operRes, count, opers);
}
