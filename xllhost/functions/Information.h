// What the host tells about itself and the cell being calculated: xlGetName,
// xlfCaller, xlAbort, xlGetInst, xlGetHwnd, xlSheetId and xlSheetNm.
#pragma once

#include <string>

#include "HostAnswer.h"

namespace xllhost {

Answer GetName(const Request& request);
Answer Caller(const Request& request);
Answer Abort(const Request& request);
Answer GetInst(const Request& request);
Answer GetHwnd(const Request& request);
Answer SheetId(const Request& request);
Answer SheetNm(const Request& request);

std::string ModulePath(HMODULE module);

// The row of the cell being calculated, from 0, for xlfCaller; -1 for none.
int CallerCell();
// The cell being calculated and its formula as written, such as
// "cell A1 =Add(1,2)", for what the transcript says of it.
std::string CallerCellName();
void SetCallerCell(int row, const std::string& formula);

}  // namespace xllhost
