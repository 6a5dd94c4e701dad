#include "XLCall.h"

HMODULE HostModule;
FARPROC Excel12Entry;

void InitializeXLCall() {
  HostModule = nullptr;
  Excel12Entry = nullptr;
}

// The callback that the host's executable exports under this name wins over
// the address handed in; the latter is only the fallback.
void WINAPI SetExcel12EntryPt(FARPROC excel12Entry) {
  if (Excel12Entry == nullptr) HostModule = GetModuleHandleA(nullptr);
  if (HostModule != nullptr) Excel12Entry = GetProcAddress(HostModule, "MdCallBack12");
  if (Excel12Entry == nullptr) Excel12Entry = excel12Entry;
}
