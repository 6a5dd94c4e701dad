// What the host tells about itself and the cell being calculated: xlGetName,
// xlfCaller, xlAbort, xlGetInst, xlGetInstPtr, xlGetHwnd, xlStack,
// xlRunningOnCluster, xlSheetId and xlSheetNm; and the deprecated
// xlEnableXLMsgs and xlDisableXLMsgs.
#include "functions/Information.h"

#include <algorithm>
#include <cstddef>

#include "records/ThreadStorage.h"
#include "state/HostPart.h"
#include "state/Modules.h"

namespace xllhost {
namespace {

// A handle as Excel hands it over in an integer: its low 16 bits through the
// Excel4 interface, its low 32 bits through the Excel12 interface.
Value HandleValue(const void* handle, Interface via) {
  auto bits = reinterpret_cast<std::uintptr_t>(handle);
  return IntegerValue(via == Interface::Excel4 ? static_cast<std::int16_t>(bits & 0xFFFF)
                                               : static_cast<std::int32_t>(bits & 0xFFFFFFFF));
}

// The workbook the session calculates.
struct BookInUse {
  Workbook book;
  BookInUse() { book.AddSheet(DefaultSheet); }
};

}  // namespace

Workbook& Book() { return HostPart<BookInUse>().book; }

CellCalculating& Calling() { return ThreadOwn<CellCalculating>(); }

Place CallingPlace() { return Calling().inCell ? Calling().caller : Place{}; }

int SheetCalled(const std::string& name) {
  const std::string upper = Upper(name);
  for (size_t i = 0; i < Book().Sheets().size(); ++i) {
    const int sheet = static_cast<int>(i);
    if (upper == Upper(SheetText(sheet)) || upper == Upper(Book().Sheets()[i].name)) return sheet;
  }
  return -1;
}

Answer GetName(const Request& request) {
  if (!request.args.empty()) return Fail(xlretInvCount);
  if (request.caller == nullptr) return Fail(xlretFailed);
  std::string path = ModulePath(request.caller);
  if (path.empty()) return Fail(xlretFailed);
  return Success(TextValue(path));
}

// The cell being calculated, or the block its array formula fills, as a
// reference to the current sheet; outside a cell #REF!. The reference page
// says only "a single-cell reference" or "a multi-cell reference"; xllhost
// answers xltypeSRef, which names the current sheet, the caller's.
Answer Caller(const Request& request) {
  if (!request.args.empty()) return Fail(xlretInvCount);
  if (!Calling().inCell) return Success(ErrorValue(xlerrRef));
  const Area& area = Calling().callerArea;
  return Success(AreaReference(area.firstRow, area.lastRow, area.firstColumn, area.lastColumn));
}

namespace {

// The sheet a reference names: the current sheet for xltypeSRef, the one
// of its id for xltypeRef; -1 for none.
int SheetOf(const Value& reference) {
  if (reference.Is(xltypeSRef)) return CallingPlace().sheet;
  if (reference.Is(xltypeRef)) return Book().SheetOfId(reference.sheetId);
  return -1;
}

}  // namespace

Answer SheetNm(const Request& request) {
  if (request.args.size() != 1) return Fail(xlretInvCount);
  const int sheet = SheetOf(request.args[0]);
  if (sheet < 0) return Fail(xlretInvXloper);
  return Success(TextValue(SheetText(sheet)));
}

// Without an argument the current sheet; with a name, as [Book1]Sheet1 or
// Sheet1, that sheet.
Answer SheetId(const Request& request) {
  if (request.args.size() > 1) return Fail(xlretInvCount);
  if (request.args.empty()) return Success(SheetReference(Workbook::SheetId(CallingPlace().sheet)));
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  const int sheet = SheetCalled(request.args[0].text);
  if (sheet < 0) return Fail(xlretInvXloper);
  return Success(SheetReference(Workbook::SheetId(sheet)));
}

// REFTEXT(reference, [a1]): the reference as text with its book and sheet,
// in R1C1 form, or with a1 TRUE in A1 form with $ before each part.
Answer Reftext(const Request& request) {
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  const Value& reference = request.args[0];
  const int sheet = SheetOf(reference);
  if (sheet < 0 || (reference.Is(xltypeRef) && reference.areas == 0)) return Fail(xlretInvXloper);
  bool a1 = false;
  if (request.args.size() == 2 && !request.args[1].Is(xltypeMissing)) {
    const Value& form = request.args[1];
    a1 = form.Is(xltypeBool) ? form.boolean : form.Is(xltypeNum) ? form.num != 0 : false;
  }
  auto corner = [&](int row, int column) {
    return a1 ? "$" + ColumnName(column) + "$" + std::to_string(row + 1)
              : "R" + std::to_string(row + 1) + "C" + std::to_string(column + 1);
  };
  std::string text = SheetText(sheet) + "!" + corner(reference.row, reference.column);
  if (reference.lastRow != reference.row || reference.lastColumn != reference.column)
    text += ":" + corner(reference.lastRow, reference.lastColumn);
  return Success(TextValue(text));
}

// The user never presses Esc here.
Answer Abort(const Request&) { return Success(BooleanValue(false)); }

Answer GetInst(const Request& request) { return Success(HandleValue(GetModuleHandleA(nullptr), request.via)); }

Answer GetHwnd(const Request& request) { return Success(HandleValue(GetConsoleWindow(), request.via)); }

Answer GetInstPtr(const Request& request) {
  if (!request.args.empty()) return Fail(xlretInvCount);
  Value handle;
  handle.xltype = xltypeBigData;
  handle.pointer = reinterpret_cast<const char*>(GetModuleHandleA(nullptr));
  return Success(handle);
}

// Through Excel12 the space left or 64 KB, whichever is less; through Excel4
// that in a 16-bit integer, which the add-in reads as an unsigned short
// (xlstack.md).
Answer Stack(const Request& request) {
  if (!request.args.empty()) return Fail(xlretInvCount);
  MEMORY_BASIC_INFORMATION stack{};
  if (VirtualQuery(&stack, &stack, sizeof stack) == 0) return Fail(xlretFailed);
  const std::ptrdiff_t left = reinterpret_cast<const char*>(&stack) - static_cast<const char*>(stack.AllocationBase);
  const auto shown = static_cast<std::int32_t>(std::min<std::ptrdiff_t>(left, 65536));
  return Success(IntegerValue(request.via == Interface::Excel4
                                  ? static_cast<std::int16_t>(static_cast<std::uint16_t>(std::min(shown, 65535)))
                                  : shown));
}

// Excel answers 0 in its own process; a cluster connector answers otherwise,
// and xllhost is none (xlrunningoncluster.md).
Answer RunningOnCluster(const Request& request) {
  if (!request.args.empty()) return Fail(xlretInvCount);
  return Success(IntegerValue(0));
}

Answer XLMessages(const Request&) { return Success(Value{}); }

std::string ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return FromWide(std::wstring(path, length));
}

std::string SheetText(int sheet) {
  const auto& sheets = Book().Sheets();
  const std::string name =
      static_cast<size_t>(sheet) < sheets.size() ? sheets[static_cast<size_t>(sheet)].name : DefaultSheet;
  return "[" + Book().name + "]" + name;
}

std::string CellLabel(int sheet, int row, int column) {
  return Book().Sheets().size() > 1 ? Book().Where(sheet, row, column) : CellName(row, column);
}

std::string CallerCellName() {
  const Place& place = Calling().caller;
  return "cell " + CellLabel(place.sheet, place.row, place.column) + " " + std::string(Calling().callerFormula);
}

CalculatingCell::CalculatingCell(const Place& place, const Area& area, std::string_view formula)
    : calling_(Calling()), outer_(calling_) {
  calling_ = CellCalculating{true, place, area, formula};
}

CalculatingCell::~CalculatingCell() { calling_ = outer_; }

}  // namespace xllhost
