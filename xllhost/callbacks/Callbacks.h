// The host's side of the callbacks: Excel4v and Excel12v, each call checked,
// answered by the host function its number names, and recorded.
//
// The host is the process itself: the program that links this library exports
// XllHostExcel4v (HostExports.cpp), and the stand-in xlcall32.dll beside it
// forwards every Excel4v call of an add-in there, as the host's own
// xlcall32.dll does. Host state is process-wide, like Excel's.
#pragma once

#include <windows.h>

#include <string>

#include "UTypes.h"

namespace xllhost {

// The host's side of Excel4v and Excel12v; caller is a code address inside
// the calling module.
int HandleExcel4v(void* caller, int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);
// A callback of xlcall32.dll that xllhost does not provide (LPenHelper): the
// add-in has met what xllhost cannot interpret.
void HandleUnprovided(void* caller, const char* function);
int HandleExcel12v(void* caller, int xlfn, LPXLOPER12 operRes, int count, LPXLOPER12 opers[]);

// The host's Excel12 callback, in the argument order of MdCallBack12.
int WINAPI HostExcel12(int xlfn, int count, LPXLOPER12 opers[], LPXLOPER12 operRes);
// The address the host hands to SetExcel12EntryPt, and the one its executable
// exports as "MdCallBack12" (null when the program does not export it).
FARPROC HostExcel12Entry();
FARPROC ExportedMdCallBack12();

}  // namespace xllhost
