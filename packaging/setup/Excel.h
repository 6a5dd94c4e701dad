// What the installer learns about the installed Excel: its width and whether it runs.
#pragma once
#include <string>

namespace setup {

// 32 or 64, and where that was read; 0 when nothing on this machine says.
struct ExcelWidth {
  int bits = 0;
  std::wstring why;
};

// Click-to-Run's Platform, then the Bitness an MSI Office records, each in
// the 64-bit and the 32-bit registry view, then Windows' own width when it
// is 32-bit (64-bit Office does not install there).
ExcelWidth FindExcelWidth();

// Whether a process named EXCEL.EXE runs, from a snapshot of all processes.
bool ExcelRuns();

}  // namespace setup
