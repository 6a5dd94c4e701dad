// The add-in the workbook benchmark calculates with: Add, which only adds
// two numbers, and Work, thread-safe, which takes a few microseconds to
// answer its argument; both registered through Excel4.
#include <windows.h>

#include "XLCall.h"

extern "C" __declspec(dllexport) double WINAPI Add(double a, double b) { return a + b; }

// Answers x after steps that the compiler cannot fold: x, then x again.
extern "C" __declspec(dllexport) double WINAPI Work(double x) {
  volatile double sum = 0;
  for (int i = 0; i < 3000; ++i) sum = sum + 1.0;
  return x + sum - 3000.0;
}

extern "C" __declspec(dllexport) int WINAPI xlAutoOpen() {
  XLOPER dll{};
  if (Excel4v(xlGetName, &dll, 0, nullptr) != xlretSuccess) return 0;
  static char add[] = "\x03" "Add", addType[] = "\x03" "BBB", work[] = "\x04" "Work", workType[] = "\x03" "BB$";
  char* registered[][2] = {{add, addType}, {work, workType}};
  int code = xlretSuccess;
  for (auto& [procedure, type] : registered) {
    XLOPER texts[3]{};
    char* strings[] = {procedure, type, procedure};
    for (int i = 0; i < 3; ++i) {
      texts[i].xltype = xltypeStr;
      texts[i].val.str = strings[i];
    }
    LPXLOPER args[] = {&dll, &texts[0], &texts[1], &texts[2]};
    if (code == xlretSuccess) code = Excel4v(xlfRegister, nullptr, 4, args);
  }
  LPXLOPER free[] = {&dll};
  Excel4v(xlFree, nullptr, 1, free);
  return code == xlretSuccess ? 1 : 0;
}
