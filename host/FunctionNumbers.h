// The numbers by which an add-in asks the host for a function (Excel4,
// Excel12): part of the host's declarations, which UTypes.h includes.
#pragma once

// Host function numbers: a worksheet or macro-sheet function's is its number
// in Excel's function table, a command's that number with bit 0x8000 set, and
// the special class, which only add-ins call, has bit 0x4000 set.
constexpr int xlfSetName = 88;
constexpr int xlfGetCell = 185;
constexpr int xlfGetName = 107;
constexpr int xlfTextref = 147;
constexpr int xlfCaller = 89;
constexpr int xlfReftext = 146;
constexpr int xlfGetDef = 145;
constexpr int xlfRegister = 149;
constexpr int xlfGetWorkspace = 186;
constexpr int xlfGetWindow = 187;
constexpr int xlfGetDocument = 188;
constexpr int xlfUnregister = 201;
constexpr int xlfVolatile = 237;
constexpr int xlfEvaluate = 257;
constexpr int xlfRegisterId = 267;
constexpr int xlfGetWorkbook = 268;
constexpr int xlfRtd = 379;
// The function table's user-defined function: with xlUDF an add-in calls
// another's registered function, by its register ID or name.
constexpr int xlUDF = 255;
constexpr int xlCommand = 0x8000;
// Bits of a function number that ask for a variant of the same function:
// its international form, or a command's dialog box.
constexpr int xlIntl = 0x2000;
constexpr int xlPrompt = 0x1000;
constexpr int xlcAlert = xlCommand | 118;
constexpr int xlcMessage = xlCommand | 122;
constexpr int xlSpecial = 0x4000;
constexpr int xlFree = xlSpecial | 0;
constexpr int xlCoerce = xlSpecial | 2;
constexpr int xlSheetId = xlSpecial | 4;
constexpr int xlSheetNm = xlSpecial | 5;
constexpr int xlAbort = xlSpecial | 6;
constexpr int xlGetInst = xlSpecial | 7;
constexpr int xlGetHwnd = xlSpecial | 8;
constexpr int xlGetName = xlSpecial | 9;
constexpr int xlStack = xlSpecial | 1;
constexpr int xlSet = xlSpecial | 3;
constexpr int xlEnableXLMsgs = xlSpecial | 10;
constexpr int xlDisableXLMsgs = xlSpecial | 11;
constexpr int xlDefineBinaryName = xlSpecial | 12;
constexpr int xlGetBinaryName = xlSpecial | 13;
constexpr int xlAsyncReturn = xlSpecial | 16;
constexpr int xlEventRegister = xlSpecial | 17;
constexpr int xlRunningOnCluster = xlSpecial | 18;
constexpr int xlGetInstPtr = xlSpecial | 19;
