// The names of Excel's function numbers, as the transcript shows them.
#pragma once

#include <string>

namespace xllhost {

// The C API's name of a function number (xlfGetWorkspace, xlcAlert, xlFree);
// a number the table lacks is shown as such.
std::string FunctionName(int xlfn);

}  // namespace xllhost
