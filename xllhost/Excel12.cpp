#include "Host.h"

namespace xllhost {

int WINAPI HostExcel12(int, int, void**, void*) { return xlretFailed; }

FARPROC HostExcel12Entry() { return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&HostExcel12)); }

FARPROC ExportedMdCallBack12() { return GetProcAddress(GetModuleHandleA(nullptr), "MdCallBack12"); }

}  // namespace xllhost
