#include "catalog/FunctionNames.h"

#include <cctype>

#include "UTypes.h"
#include "catalog/BuiltinIndex.h"

namespace xllhost {
namespace {

struct FunctionNumber {
  int xlfn;
  const char* name;
};

// Macro-sheet functions by their number in Excel's function table, commands
// by theirs in its command table plus 0x8000, as Microsoft documents the
// .xls file format ([MS-XLS], tables Ftab and Cetab); the worksheet
// functions are the built-ins' rows (Builtins.cpp). Each is spelled as the C
// API spells it: xlf or xlc, then the function's name without its dots,
// each part capitalised (GET.WORKSPACE is xlfGetWorkspace). The table holds
// the macro-sheet functions to 94 and those add-ins are known to
// call; the special
// functions (0x4000) follow.
// A function whose number the host's declarations hold is named by it.
#define NAMED(constant) {constant, #constant}
const FunctionNumber Names[] = {
    {53, "xlfGoto"}, {54, "xlfHalt"}, {55, "xlfReturn"}, {79, "xlfAbsref"}, {80, "xlfRelref"}, {81, "xlfArgument"},
    {84, "xlfError"}, {85, "xlfStep"}, {87, "xlfEcho"}, NAMED(xlfSetName), NAMED(xlfCaller), {90, "xlfDeref"},
    {91, "xlfWindows"}, {92, "xlfSeries"}, {93, "xlfDocuments"}, {94, "xlfActiveCell"}, NAMED(xlfGetName),
    NAMED(xlfGetDef), NAMED(xlfReftext), NAMED(xlfTextref), NAMED(xlfRegister), {150, "xlfCall"}, {151, "xlfAddBar"}, {152, "xlfAddMenu"},
    {153, "xlfAddCommand"}, {155, "xlfCheckCommand"}, {170, "xlfCancelKey"}, NAMED(xlfGetCell),
    NAMED(xlfGetWorkspace), NAMED(xlfGetWindow), NAMED(xlfGetDocument), NAMED(xlfUnregister),
    NAMED(xlfVolatile), {253, "xlfAddToolbar"}, NAMED(xlfEvaluate), {262, "xlfAppTitle"}, NAMED(xlfRegisterId),
    NAMED(xlfGetWorkbook), {32768, "xlcBeep"}, {32769, "xlcOpen"}, {32770, "xlcOpenLinks"}, {32771, "xlcCloseAll"},
    {32772, "xlcSave"}, {32773, "xlcSaveAs"}, {32774, "xlcFileDelete"}, {32775, "xlcPageSetup"}, {32776, "xlcPrint"},
    {32777, "xlcPrinterSetup"}, {32778, "xlcQuit"}, {32779, "xlcNewWindow"}, {32780, "xlcArrangeAll"},
    {32781, "xlcWindowSize"}, {32782, "xlcWindowMove"}, {32783, "xlcFull"}, {32784, "xlcClose"}, {32785, "xlcRun"},
    NAMED(xlcAlert), NAMED(xlcMessage), NAMED(xlFree), NAMED(xlCoerce), NAMED(xlSheetId),
    NAMED(xlSheetNm), NAMED(xlAbort), NAMED(xlGetInst), NAMED(xlGetHwnd),
    NAMED(xlGetName), NAMED(xlStack), NAMED(xlSet), NAMED(xlEnableXLMsgs),
    NAMED(xlDisableXLMsgs), NAMED(xlDefineBinaryName),
    NAMED(xlGetBinaryName), NAMED(xlAsyncReturn), NAMED(xlEventRegister),
    NAMED(xlRunningOnCluster), NAMED(xlGetInstPtr), NAMED(xlUDF),
};
#undef NAMED

}  // namespace

int PlainFunction(int xlfn) { return xlfn & 0xFFFF & ~(xlIntl | xlPrompt); }

std::string FunctionName(int xlfn) {
  const int plain = PlainFunction(xlfn);
  std::string variant;
  if ((xlfn & xlIntl) != 0) variant += " | xlIntl";
  if ((xlfn & xlPrompt) != 0) variant += " | xlPrompt";
  if ((plain & (xlCommand | xlSpecial)) == 0)
    if (const Builtin* builtin = FindBuiltin(plain)) {
      std::string name = std::string("xlf") + builtin->name[0];
      for (const char* c = builtin->name + 1; *c != 0; ++c) name += static_cast<char>(std::tolower(*c));
      return name + variant;
    }
  for (const FunctionNumber& entry : Names)
    if (entry.xlfn == plain) return entry.name + variant;
  return "function " + std::to_string(plain) + variant + " (a number xllhost has no name for)";
}

bool IsInformationFunction(int xlfn) {
  constexpr int Information[] = {xlfGetCell,   xlfGetDef,      xlfGetDocument, xlfGetName,
                                 xlfGetWindow, xlfGetWorkbook, xlfGetWorkspace};
  for (int function : Information)
    if (PlainFunction(xlfn) == function) return true;
  return false;
}

}  // namespace xllhost
