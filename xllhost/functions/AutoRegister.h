// xlfRegister without a type text, as Excel answers it: through the DLL's
// own xlAutoRegister12 or xlAutoRegister.
#pragma once

#include <windows.h>

#include <string>

#include "records/HostAnswer.h"

namespace xllhost {

// xlfRegister without a type text: Excel asks the DLL's xlAutoRegister12, or
// else its xlAutoRegister, to register the procedure, and answers what that
// answered; a DLL that exports neither cannot be registered so. One that
// asks again without a type text for the procedure it is registering would
// recurse until Excel's stack overflows: xllhost fails that call instead.
Answer RegisterThroughDll(HMODULE module, const std::string& procedure);

}  // namespace xllhost
