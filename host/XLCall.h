// Binding of the host callback and hand-over of the host's Excel12 entry.
#pragma once

#include "Win32.h"

#include "UTypes.h"

extern "C" {
// The host callback, imported by name from xlcall32.dll. When operRes is null
// the host drops its result. opers points at count record pointers.
int WINAPI Excel4v(int xlfn, LPXLOPER operRes, int count, LPXLOPER opers[]);

// Exported: the host hands over the address of its Excel12 callback.
void WINAPI SetExcel12EntryPt(FARPROC excel12Entry);
}

// Bridge state, process-wide and unguarded.
extern HMODULE HostModule;    // the host process's main executable, once looked up
extern FARPROC Excel12Entry;  // the host's Excel12 callback, once known

// Module initialization: runs once at process attach, before any export.
void InitializeXLCall();
