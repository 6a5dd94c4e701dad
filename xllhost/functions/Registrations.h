// Registered procedures and the worksheet names that call them:
// xlfRegister, xlfRegisterId, xlfUnregister and xlfSetName.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "records/HostAnswer.h"
#include "records/TypeText.h"
#include "records/Values.h"

namespace xllhost {

// A registered procedure (xlfRegister).
struct Registration {
  double id = 0;
  HMODULE module = nullptr;
  std::string procedure;  // the export name, or "#N" for one registered by ordinal
  std::string typeText;
  Signature signature;       // the type text, read
  std::string functionText;  // empty when registered without a worksheet name
  FARPROC address = nullptr;
  int uses = 0;  // xlfRegister adds one, xlfUnregister takes one; at 0 it is gone
};

// A defined name: one that calls a registration, or one that holds a value.
struct DefinedName {
  double registerId = 0;  // the registration the name calls; 0 for a plain value
  Value value;
  std::string written;  // the name as the add-in wrote it
};

Answer Register(const Request& request);
Answer RegisterId(const Request& request);
Answer Unregister(const Request& request);  // by register ID, or a whole DLL by name
Answer SetName(const Request& request);

// The registrations now, in the order they were made.
std::vector<const Registration*> Registrations();
const Registration* FindRegistration(double id);  // null when there is none
// The same, kept whole for a call of it, which may register or unregister
// functions (itself too) while it runs.
std::shared_ptr<const Registration> HoldRegistration(double id);
bool IsDefinedName(const std::string& name);
const DefinedName* FindName(const std::string& name);  // null when the name is not defined
// The names the add-ins defined, hidden from the workbook's user, in the
// order of their names.
std::vector<const DefinedName*> HiddenNames();
// Whether a registration ever defined the name, upper-cased, taken back or not.
bool WasFunctionName(const std::string& upperName);
// Forgets a module's registrations and the names that call them.
void ForgetModule(HMODULE module);

}  // namespace xllhost
