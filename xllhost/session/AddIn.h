// Driving an add-in as Excel does: load it, call its entries, ask the
// Add-In Manager, unload it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "functions/Registrations.h"

namespace xllhost {

// A loaded add-in and the entries it exports (null where it exports none).
struct AddIn {
  HMODULE module = nullptr;
  std::string path;
  unsigned long loadError = 0;  // the loader's error when the module is null
  int(WINAPI* autoOpen)() = nullptr;
  int(WINAPI* autoClose)() = nullptr;
  int(WINAPI* autoAdd)() = nullptr;
  int(WINAPI* autoRemove)() = nullptr;
  LPXLOPER(WINAPI* addInManagerInfo)(LPXLOPER) = nullptr;
  LPXLOPER12(WINAPI* addInManagerInfo12)(LPXLOPER12) = nullptr;
  void(WINAPI* setExcel12EntryPt)(FARPROC) = nullptr;
  // Entries Excel looks up by their plain names that the add-in exports only
  // with a stdcall decoration, such as _xlAutoOpen@0: Excel finds none of
  // them, and the host does not call them.
  struct Decorated {
    std::string plain, decorated;
  };
  std::vector<Decorated> decoratedOnly;
};

// Loading fails (module null) when the library cannot be loaded.
AddIn Load(const std::string& path);
// Like the host, forgets the module's registrations once it is gone.
void Unload(AddIn& addIn);
// Each calls the entry with control passed to the add-in and answers its
// result, or 0 when the add-in does not export it or is no longer loaded.
int Open(const AddIn& addIn);    // xlAutoOpen
int Add(const AddIn& addIn);     // xlAutoAdd
int Remove(const AddIn& addIn);  // xlAutoRemove
int Close(const AddIn& addIn);   // xlAutoClose
void HandOverExcel12(const AddIn& addIn);
// The Add-In Manager asks for the add-in's name with the request, through
// xlAddInManagerInfo12 when the add-in exports it, as Excel 2007 and later
// do, and through xlAddInManagerInfo otherwise.
Value AskAddInManager(const AddIn& addIn, const XLOPER& request);
// Unregisters what the add-in left registered, as Excel does after its
// xlAutoClose, and answers what that was.
std::vector<Registration> UnregisterLeftovers(const AddIn& addIn);

// Full path of a file in the folder of the running program, where host
// programs keep the add-ins and DLLs they load.
std::string BesideThisProgram(const char* file);

}  // namespace xllhost
