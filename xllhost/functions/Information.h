// What the host tells about itself and the cell being calculated: xlGetName,
// xlfCaller, xlAbort, xlGetInst, xlGetHwnd, xlSheetId, xlSheetNm and
// xlfReftext.
#pragma once

#include <string>
#include <string_view>

#include "catalog/Builtins.h"
#include "records/HostAnswer.h"
#include "workbook/Workbook.h"

namespace xllhost {

// The workbook whose cells the session calculates, where the C API's
// callbacks find it (xlfCaller, xlSheetId, xlfEvaluate, ...): one empty
// sheet, DefaultSheet, until the program reads its own into it, before any
// add-in is loaded, leaving it at least one sheet.
Workbook& Book();

// The cell being calculated on this thread: where it stands, the array
// block it fills, and its formula as written. Each thread has its own, as
// Excel calculates cells on several threads at once.
struct CellCalculating {
  bool inCell = false;
  Place caller;
  Area callerArea;
  std::string_view callerFormula;  // the formula's text, which outlives its calculation
};
CellCalculating& Calling();
// What the C API takes for the active cell: the calling cell, or A1 of the
// first sheet outside a cell.
Place CallingPlace();
// The sheet a name names, as Sheet1 or [Book1]Sheet1, ignoring case; -1
// when none is named so.
int SheetCalled(const std::string& name);

Answer GetName(const Request& request);
Answer Caller(const Request& request);
Answer Abort(const Request& request);
Answer GetInst(const Request& request);
Answer GetHwnd(const Request& request);
Answer GetInstPtr(const Request& request);  // the instance handle, whole, as binary data
Answer Stack(const Request& request);       // the stack left on the calling thread
Answer RunningOnCluster(const Request& request);
Answer XLMessages(const Request& request);  // xlEnableXLMsgs and xlDisableXLMsgs, deprecated: nothing to do
Answer SheetId(const Request& request);
Answer SheetNm(const Request& request);
Answer Reftext(const Request& request);

std::string ModulePath(HMODULE module);

// The id a sheet of the workbook has in an xltypeRef, and back (-1: none).
// A sheet's name as xlSheetNm answers it: [Book1]Sheet1.
std::string SheetText(int sheet);

// A cell, named for the transcript: "A1" in a workbook of one sheet,
// "Sheet2!A1" in one of several.
std::string CellLabel(int sheet, int row, int column);
// The cell being calculated and its formula as written, such as
// "cell A1 =Add(1,2)", for what the transcript says of it.
std::string CallerCellName();

// While one lives, a cell is being calculated: the formula at `place`,
// which fills `area` (the cell itself, or its array block). The formula's
// text must outlive it.
class CalculatingCell {
 public:
  CalculatingCell(const Place& place, const Area& area, std::string_view formula);
  ~CalculatingCell();
  CalculatingCell(const CalculatingCell&) = delete;
  CalculatingCell& operator=(const CalculatingCell&) = delete;

 private:
  CellCalculating& calling_;  // this thread's, looked up once
  const CellCalculating outer_;
};

}  // namespace xllhost
