// The names of Excel's function numbers, as the transcript shows them.
#pragma once

#include <string>

namespace xllhost {

// The function a number asks for. A function number is a 16-bit word, which
// may arrive sign-extended (xlcAlert, 0x8076, as -32650), and its bits
// xlIntl and xlPrompt ask for a variant of the same function.
int PlainFunction(int xlfn);

// The C API's name of a function number (xlfGetWorkspace, xlcAlert, xlFree),
// with the variant its bits ask for ("xlGetName | xlIntl"); a number the
// table lacks is shown as such.
std::string FunctionName(int xlfn);

// Whether the function is one of the XLM information functions, which
// Excel answers only a macro-sheet equivalent (#) and never on a
// calculation thread (xlfregister-form-1.md,
// multithreaded-recalculation-in-excel.md). xlfCaller is not one.
bool IsInformationFunction(int xlfn);

}  // namespace xllhost
