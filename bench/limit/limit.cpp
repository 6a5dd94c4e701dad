// The limits Quorrel.xll is measured against: a DLL whose loader entry does
// nothing, with functions that do nothing but return a static record's address.
// Built without a C runtime, so loading it costs only what the loader does.
#include <windows.h>

#include "UTypes.h"

namespace {
XLOPER Record;
}

extern "C" {

LPXLOPER WINAPI LimitRecord() { return &Record; }

LPXLOPER WINAPI LimitRecordFor(LPXLOPER) { return &Record; }

BOOL WINAPI LimitEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

}  // extern "C"
