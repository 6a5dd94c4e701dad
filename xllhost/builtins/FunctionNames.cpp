#include "builtins/FunctionNames.h"

#include <cctype>

#include "UTypes.h"
#include "builtins/Builtins.h"

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
const FunctionNumber Names[] = {
    {53, "xlfGoto"}, {54, "xlfHalt"}, {55, "xlfReturn"}, {79, "xlfAbsref"}, {80, "xlfRelref"}, {81, "xlfArgument"},
    {84, "xlfError"}, {85, "xlfStep"}, {87, "xlfEcho"}, {88, "xlfSetName"}, {89, "xlfCaller"}, {90, "xlfDeref"},
    {91, "xlfWindows"}, {92, "xlfSeries"}, {93, "xlfDocuments"}, {94, "xlfActiveCell"}, {145, "xlfGetDef"},
    {146, "xlfReftext"}, {149, "xlfRegister"}, {150, "xlfCall"}, {151, "xlfAddBar"}, {152, "xlfAddMenu"},
    {153, "xlfAddCommand"}, {155, "xlfCheckCommand"}, {170, "xlfCancelKey"}, {185, "xlfGetCell"},
    {186, "xlfGetWorkspace"}, {187, "xlfGetWindow"}, {188, "xlfGetDocument"}, {201, "xlfUnregister"},
    {237, "xlfVolatile"}, {253, "xlfAddToolbar"}, {257, "xlfEvaluate"}, {262, "xlfAppTitle"}, {267, "xlfRegisterId"},
    {268, "xlfGetWorkbook"}, {32768, "xlcBeep"}, {32769, "xlcOpen"}, {32770, "xlcOpenLinks"}, {32771, "xlcCloseAll"},
    {32772, "xlcSave"}, {32773, "xlcSaveAs"}, {32774, "xlcFileDelete"}, {32775, "xlcPageSetup"}, {32776, "xlcPrint"},
    {32777, "xlcPrinterSetup"}, {32778, "xlcQuit"}, {32779, "xlcNewWindow"}, {32780, "xlcArrangeAll"},
    {32781, "xlcWindowSize"}, {32782, "xlcWindowMove"}, {32783, "xlcFull"}, {32784, "xlcClose"}, {32785, "xlcRun"},
    {32886, "xlcAlert"}, {32890, "xlcMessage"}, {xlFree, "xlFree"}, {xlCoerce, "xlCoerce"}, {xlSheetId, "xlSheetId"},
    {xlSheetNm, "xlSheetNm"}, {xlAbort, "xlAbort"}, {xlGetInst, "xlGetInst"}, {xlGetHwnd, "xlGetHwnd"},
    {xlGetName, "xlGetName"}, {xlStack, "xlStack"}, {xlSet, "xlSet"}, {xlEnableXLMsgs, "xlEnableXLMsgs"},
    {xlDisableXLMsgs, "xlDisableXLMsgs"}, {xlDefineBinaryName, "xlDefineBinaryName"},
    {xlGetBinaryName, "xlGetBinaryName"}, {xlAsyncReturn, "xlAsyncReturn"}, {xlEventRegister, "xlEventRegister"},
    {xlRunningOnCluster, "xlRunningOnCluster"}, {xlGetInstPtr, "xlGetInstPtr"}, {xlUDF, "xlUDF"},
};

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

}  // namespace xllhost
