// Linked into the host programs that play an Excel whose executable exports
// its Excel12 callback as "MdCallBack12". This host implements no Excel12
// function, so every call fails.
#include <windows.h>

#include "UTypes.h"

extern "C" __declspec(dllexport) int WINAPI MdCallBack12(int, int, void**, void*) { return xlretFailed; }
