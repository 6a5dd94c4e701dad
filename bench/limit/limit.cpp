// The limits Quorrel.xll is measured against, in a DLL whose loader entry
// does nothing. Built without a C runtime, so loading it costs only what the
// loader does.
#include <windows.h>

#include "UTypes.h"

namespace {
XLOPER Record;
const char Greeting[] = "\x0BTavik World";
const char Title[] = "\x0CTavik Add-In";
}  // namespace

extern "C" {

// The least a correct worksheet answer does: write the two fields of a
// static record and return its address.
LPXLOPER WINAPI LimitGreeting() {
  Record.val.str = const_cast<char*>(Greeting);
  Record.xltype = xltypeStr;
  return &Record;
}

// The least work a correct manager answer needs, written as plainly as
// possible: read the request's type word and value, write the two fields of
// a static record, return its address. The add-in answers a null request
// with #VALUE! instead of reading through it, so its least answer tests for
// one too.
LPXLOPER WINAPI LimitManagerInfo(LPXLOPER request) {
  if (request != nullptr && ((request->xltype == xltypeInt && request->val.w == 1) ||
                             (request->xltype == xltypeNum && request->val.num == 1))) {
    Record.val.str = const_cast<char*>(Title);
    Record.xltype = xltypeStr;
  } else {
    Record.val.err = xlerrValue;
    Record.xltype = xltypeErr;
  }
  return &Record;
}

BOOL WINAPI LimitEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }

}  // extern "C"
