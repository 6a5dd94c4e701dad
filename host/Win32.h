// The few Win32 declarations the host layer and the add-in use. Where a
// Windows SDK or MinGW's headers exist they come from <windows.h>; a build
// without either, such as clang-cl with lld-link, declares them here, as the
// SDK does.
#pragma once

#if __has_include(<windows.h>)
#include <windows.h>
#else
#include <stdint.h>

#define WINAPI __stdcall
#define TRUE 1
#define DLL_PROCESS_ATTACH 1

typedef int BOOL;
typedef unsigned long DWORD;
typedef void* LPVOID;
struct HINSTANCE__ {
  int unused;
};
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef intptr_t(WINAPI* FARPROC)();

extern "C" {
__declspec(dllimport) HMODULE WINAPI GetModuleHandleA(const char* moduleName);
__declspec(dllimport) FARPROC WINAPI GetProcAddress(HMODULE module, const char* procName);
}
#endif
