// What the host tells about itself and the cell being calculated: xlGetName,
// xlfCaller, xlAbort, xlGetInst, xlGetHwnd, xlSheetId and xlSheetNm.
#include "Information.h"

#include "HostState.h"

namespace xllhost {
namespace {

// xllhost has one workbook with one sheet, which has this id and name.
constexpr std::int32_t TheSheetId = 1;
const char SheetName[] = "[Book1]Sheet1";

// A handle as Excel hands it over in an integer: its low 16 bits through the
// Excel4 interface, its low 32 bits through the Excel12 interface.
Value HandleValue(const void* handle, Interface via) {
  auto bits = reinterpret_cast<std::uintptr_t>(handle);
  return IntegerValue(via == Interface::Excel4 ? static_cast<std::int16_t>(bits & 0xFFFF)
                                               : static_cast<std::int32_t>(bits & 0xFFFFFFFF));
}

}  // namespace

Answer GetName(const Request& request) {
  if (!request.args.empty()) return Fail(xlretInvCount);
  if (request.caller == nullptr) return Fail(xlretFailed);
  std::string path = ModulePath(request.caller);
  if (path.empty()) return Fail(xlretFailed);
  return Success(TextValue(path));
}

// The cell being calculated, as a one-cell reference; outside a cell #REF!.
Answer Caller(const Request& request) {
  if (!request.args.empty()) return Fail(xlretInvCount);
  if (State().callerCell < 0) return Success(ErrorValue(xlerrRef));
  return Success(CellReference(State().callerCell, 0));
}

Answer SheetNm(const Request& request) {
  if (request.args.size() != 1) return Fail(xlretInvCount);
  const Value& sheet = request.args[0];
  if (!sheet.Is(xltypeSRef) && !(sheet.Is(xltypeRef) && sheet.sheetId == TheSheetId)) return Fail(xlretInvXloper);
  return Success(TextValue(SheetName));
}

Answer SheetId(const Request& request) {
  if (request.args.size() > 1) return Fail(xlretInvCount);
  if (request.args.size() == 1 && !(request.args[0].Is(xltypeStr) && request.args[0].text == SheetName))
    return Fail(xlretInvXloper);
  return Success(SheetReference(TheSheetId));
}

// The user never presses Esc here.
Answer Abort(const Request&) { return Success(BooleanValue(false)); }

Answer GetInst(const Request& request) { return Success(HandleValue(GetModuleHandleA(nullptr), request.via)); }

Answer GetHwnd(const Request& request) { return Success(HandleValue(GetConsoleWindow(), request.via)); }

std::string ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return FromWide(std::wstring(path, length));
}

int CallerCell() { return State().callerCell; }

std::string CallerCellName() {
  return "cell A" + std::to_string(State().callerCell + 1) + " " + State().callerFormula;
}

void SetCallerCell(int row, const std::string& formula) {
  State().callerCell = row;
  State().callerFormula = formula;
}

}  // namespace xllhost
