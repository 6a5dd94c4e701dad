// Redirects one imported function of a loaded module by rewriting its import
// address table, so a host can watch what an add-in asks of the system.
#pragma once

#include <windows.h>

namespace xllhost {

// Points the module's import of dll!function at replacement and answers the
// address it held before, or null when the module does not import it by name.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace xllhost
