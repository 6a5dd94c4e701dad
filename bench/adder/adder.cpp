// The add-in the workbook benchmark calculates with: one function that only
// adds two numbers, registered as Add through Excel4.
#include <windows.h>

#include "XLCall.h"

extern "C" __declspec(dllexport) double WINAPI Add(double a, double b) { return a + b; }

extern "C" __declspec(dllexport) int WINAPI xlAutoOpen() {
  XLOPER dll{};
  if (Excel4v(xlGetName, &dll, 0, nullptr) != xlretSuccess) return 0;
  static char procedure[] = "\x03" "Add", type[] = "\x03" "BBB";
  XLOPER texts[3]{};
  char* strings[] = {procedure, type, procedure};
  for (int i = 0; i < 3; ++i) {
    texts[i].xltype = xltypeStr;
    texts[i].val.str = strings[i];
  }
  LPXLOPER args[] = {&dll, &texts[0], &texts[1], &texts[2]};
  const int code = Excel4v(xlfRegister, nullptr, 4, args);
  LPXLOPER free[] = {&dll};
  Excel4v(xlFree, nullptr, 1, free);
  return code == xlretSuccess ? 1 : 0;
}
