#include "FunctionNames.h"

#include "UTypes.h"

namespace xllhost {
namespace {

struct FunctionNumber {
  int xlfn;
  const char* name;
};

// Worksheet and macro-sheet functions by their number in Excel's function
// table, commands by theirs in its command table plus 0x8000, as Microsoft
// documents the .xls file format ([MS-XLS], tables Ftab and Cetab). Each is spelled as the C API spells it: xlf or xlc, then the
// function's name without its dots, each part capitalised (GET.WORKSPACE is
// xlfGetWorkspace). The table holds the functions 0 to 94 and those add-ins
// are known to call; the special functions (0x4000) follow.
const FunctionNumber Names[] = {
    {0, "xlfCount"}, {1, "xlfIf"}, {2, "xlfIsna"}, {3, "xlfIserror"}, {4, "xlfSum"}, {5, "xlfAverage"}, {6, "xlfMin"},
    {7, "xlfMax"}, {8, "xlfRow"}, {9, "xlfColumn"}, {10, "xlfNa"}, {11, "xlfNpv"}, {12, "xlfStdev"}, {13, "xlfDollar"},
    {14, "xlfFixed"}, {15, "xlfSin"}, {16, "xlfCos"}, {17, "xlfTan"}, {18, "xlfAtan"}, {19, "xlfPi"}, {20, "xlfSqrt"},
    {21, "xlfExp"}, {22, "xlfLn"}, {23, "xlfLog10"}, {24, "xlfAbs"}, {25, "xlfInt"}, {26, "xlfSign"}, {27, "xlfRound"},
    {28, "xlfLookup"}, {29, "xlfIndex"}, {30, "xlfRept"}, {31, "xlfMid"}, {32, "xlfLen"}, {33, "xlfValue"},
    {34, "xlfTrue"}, {35, "xlfFalse"}, {36, "xlfAnd"}, {37, "xlfOr"}, {38, "xlfNot"}, {39, "xlfMod"}, {40, "xlfDcount"},
    {41, "xlfDsum"}, {42, "xlfDaverage"}, {43, "xlfDmin"}, {44, "xlfDmax"}, {45, "xlfDstdev"}, {46, "xlfVar"},
    {47, "xlfDvar"}, {48, "xlfText"}, {49, "xlfLinest"}, {50, "xlfTrend"}, {51, "xlfLogest"}, {52, "xlfGrowth"},
    {53, "xlfGoto"}, {54, "xlfHalt"}, {55, "xlfReturn"}, {56, "xlfPv"}, {57, "xlfFv"}, {58, "xlfNper"}, {59, "xlfPmt"},
    {60, "xlfRate"}, {61, "xlfMirr"}, {62, "xlfIrr"}, {63, "xlfRand"}, {64, "xlfMatch"}, {65, "xlfDate"},
    {66, "xlfTime"}, {67, "xlfDay"}, {68, "xlfMonth"}, {69, "xlfYear"}, {70, "xlfWeekday"}, {71, "xlfHour"},
    {72, "xlfMinute"}, {73, "xlfSecond"}, {74, "xlfNow"}, {75, "xlfAreas"}, {76, "xlfRows"}, {77, "xlfColumns"},
    {78, "xlfOffset"}, {79, "xlfAbsref"}, {80, "xlfRelref"}, {81, "xlfArgument"}, {82, "xlfSearch"},
    {83, "xlfTranspose"}, {84, "xlfError"}, {85, "xlfStep"}, {86, "xlfType"}, {87, "xlfEcho"}, {88, "xlfSetName"},
    {89, "xlfCaller"}, {90, "xlfDeref"}, {91, "xlfWindows"}, {92, "xlfSeries"}, {93, "xlfDocuments"},
    {94, "xlfActiveCell"}, {97, "xlfAtan2"}, {98, "xlfAsin"}, {99, "xlfAcos"}, {111, "xlfChar"}, {125, "xlfCell"},
    {145, "xlfGetDef"}, {146, "xlfReftext"}, {148, "xlfIndirect"}, {149, "xlfRegister"}, {150, "xlfCall"}, {151, "xlfAddBar"},
    {152, "xlfAddMenu"}, {153, "xlfAddCommand"}, {155, "xlfCheckCommand"}, {170, "xlfCancelKey"}, {185, "xlfGetCell"},
    {186, "xlfGetWorkspace"}, {187, "xlfGetWindow"}, {188, "xlfGetDocument"}, {201, "xlfUnregister"},
    {219, "xlfAddress"}, {237, "xlfVolatile"}, {253, "xlfAddToolbar"}, {257, "xlfEvaluate"}, {262, "xlfAppTitle"},
    {267, "xlfRegisterId"}, {268, "xlfGetWorkbook"}, {379, "xlfRtd"}, {32768, "xlcBeep"}, {32769, "xlcOpen"},
    {32770, "xlcOpenLinks"}, {32771, "xlcCloseAll"}, {32772, "xlcSave"}, {32773, "xlcSaveAs"}, {32774, "xlcFileDelete"},
    {32775, "xlcPageSetup"}, {32776, "xlcPrint"}, {32777, "xlcPrinterSetup"}, {32778, "xlcQuit"},
    {32779, "xlcNewWindow"}, {32780, "xlcArrangeAll"}, {32781, "xlcWindowSize"}, {32782, "xlcWindowMove"},
    {32783, "xlcFull"}, {32784, "xlcClose"}, {32785, "xlcRun"}, {32886, "xlcAlert"}, {32890, "xlcMessage"},
    {xlFree, "xlFree"}, {xlCoerce, "xlCoerce"}, {xlSheetId, "xlSheetId"}, {xlSheetNm, "xlSheetNm"},
    {xlAbort, "xlAbort"}, {xlGetInst, "xlGetInst"}, {xlGetHwnd, "xlGetHwnd"}, {xlGetName, "xlGetName"},
};

}  // namespace

int PlainFunction(int xlfn) { return xlfn & 0xFFFF & ~(xlIntl | xlPrompt); }

std::string FunctionName(int xlfn) {
  const int plain = PlainFunction(xlfn);
  std::string variant;
  if ((xlfn & xlIntl) != 0) variant += " | xlIntl";
  if ((xlfn & xlPrompt) != 0) variant += " | xlPrompt";
  for (const FunctionNumber& entry : Names)
    if (entry.xlfn == plain) return entry.name + variant;
  return "function " + std::to_string(plain) + variant + " (a number xllhost has no name for)";
}

}  // namespace xllhost
