// Driving an add-in as Excel does: load it, call its entries, calculate
// cells that use its functions, unload it.
#pragma once

#include <windows.h>

#include <string>

#include "Values.h"

namespace xllhost {

// A loaded add-in and the entries it exports (null where it exports none).
struct AddIn {
  HMODULE module = nullptr;
  std::string path;
  int(WINAPI* autoOpen)() = nullptr;
  int(WINAPI* autoClose)() = nullptr;
  int(WINAPI* autoAdd)() = nullptr;
  int(WINAPI* autoRemove)() = nullptr;
  void(WINAPI* autoFree)(LPXLOPER) = nullptr;
  LPXLOPER(WINAPI* addInManagerInfo)(LPXLOPER) = nullptr;
  void(WINAPI* setExcel12EntryPt)(FARPROC) = nullptr;
};

// Loading fails (module null) when the library cannot be loaded.
AddIn Load(const std::string& path);
// Like the host, forgets the module's registrations once it is gone.
void Unload(AddIn& addIn);
// Each answers the entry's result, or 0 when it is not exported.
int Open(const AddIn& addIn);
int Remove(const AddIn& addIn);
void HandOverExcel12(const AddIn& addIn);
// The Add-In Manager asks for the add-in's name with the request record.
Value AskAddInManager(const AddIn& addIn, const XLOPER& request);
// A cell holding =NAME() for a registered function without arguments.
Value Evaluate(const std::string& formula);

// Full path of a file in the folder of the running program, where host
// programs keep the add-ins and DLLs they load.
std::string BesideThisProgram(const char* file);

}  // namespace xllhost
