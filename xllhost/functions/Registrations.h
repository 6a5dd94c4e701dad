// Registered procedures and the worksheet names that call them:
// xlfRegister, xlfRegisterId, xlfUnregister and xlfSetName.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "records/HostAnswer.h"
#include "state/HostState.h"  // Registration, DefinedName

namespace xllhost {

Answer Register(const Request& request);
Answer RegisterId(const Request& request);
Answer Unregister(const Request& request);  // by register ID, or a whole DLL by name
Answer SetName(const Request& request);

const std::vector<Registration>& Registrations();
Registration* FindRegistration(double id);
bool IsDefinedName(const std::string& name);
const DefinedName* FindName(const std::string& name);  // null when the name is not defined
// Forgets a module's registrations and the names that call them.
void ForgetModule(HMODULE module);

}  // namespace xllhost
