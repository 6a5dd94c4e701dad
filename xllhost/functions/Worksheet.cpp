#include "functions/Worksheet.h"

#include "catalog/BuiltinIndex.h"
#include "engine/Evaluation.h"
#include "formulas/Formula.h"
#include "functions/AddInsHost.h"
#include "functions/Information.h"
#include "functions/Invoke.h"
#include "functions/Registrations.h"
#include "records/Coerce.h"
#include "state/CallContext.h"
#include "workbook/CellState.h"

namespace xllhost {

bool IsAddInCall(const std::string& written, std::string* name) {
  if (written.empty()) return false;
  const std::string called = CalledName(written);
  if (FindBuiltin(called) != nullptr && FindName(called) == nullptr) return false;
  if (name != nullptr) *name = called == Upper(written) ? written : called;
  return true;
}

Value Evaluate(const std::string& text, int row, std::string* notCalculated) {
  Formula formula;
  std::string why;
  if (!ParseFormula(text, row, 0, &formula, &why)) return ErrorValue(xlerrName);
  Evaluated answer =
      EvaluateFormula(Book(), AddInsHost(), formula, CalculatedCell{Place{0, row, 0, false}, Area{row, row, 0, 0}, text}, false);
  if (notCalculated != nullptr) *notCalculated = answer.notCalculated;
  return answer.value;
}

// A text without "=" is read as if it had one. A text xllhost cannot read,
// or a formula it cannot calculate, fails.
Answer EvaluateText(const Request& request) {
  if (request.args.size() != 1) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  std::string text = request.args[0].text;
  if (text.empty() || text[0] != '=') text.insert(0, "=");
  const Place place = CallingPlace();
  Formula formula;
  std::string why;
  if (!ParseFormula(text, place.row, place.column, &formula, &why)) return Fail(xlretFailed);
  const Expr& root = formula.root;
  // The name a registration defines is hidden, and its value is the
  // register ID (xlfregister-form-1.md): frameworks find their IDs so.
  if (root.kind == ExprKind::Name && root.sheet.empty())
    if (const DefinedName* name = FindName(root.name); name != nullptr && name->registerId != 0)
      return Success(NumberValue(name->registerId));
  if (root.kind == ExprKind::Reference) {
    const int sheet = SheetNamed(Book(), root.sheet, place);
    if (sheet < 0) return Fail(xlretFailed);
    const Area a = Resolve(root.first, root.last, place.row, place.column);
    if (sheet == place.sheet) return Success(AreaReference(a.firstRow, a.lastRow, a.firstColumn, a.lastColumn));
    return Success(AreaReference(a.firstRow, a.lastRow, a.firstColumn, a.lastColumn, Workbook::SheetId(sheet)));
  }
  const Area area = Calling().inCell ? Calling().callerArea : Area{place.row, place.row, place.column, place.column};
  Evaluated answer = EvaluateFormula(Book(), AddInsHost(), formula, CalculatedCell{place, area, text}, false);
  if (!answer.notCalculated.empty()) return Fail(xlretFailed, "xlfEvaluate of " + text + ": " + answer.notCalculated);
  return Success(answer.value);
}

namespace {

// xlCoerce of values: the value, and the types it may become.
Answer CoerceValues(const Request& request) {
  const std::vector<Value>& args = request.args;
  if (args.empty() || args.size() > 2) return Fail(xlretInvCount);
  std::uint32_t mask = 0;
  if (args.size() == 2 && !args[1].Is(xltypeMissing) && !args[1].Is(xltypeNil)) {
    if (args[1].Is(xltypeInt))
      mask = static_cast<std::uint32_t>(args[1].integer);
    else if (args[1].Is(xltypeNum))
      mask = static_cast<std::uint32_t>(args[1].num);
    else
      return Fail(xlretInvXloper);
  }
  Value result;
  if (!CoerceValue(args[0], mask, request.via, &result)) return Fail(xlretFailed);
  return Success(result);
}

// A reference of a request as an operand: xltypeSRef of the current sheet,
// xltypeRef of its sheet's one rectangle. Anything else is a value.
Operand RequestOperand(const Value& value) {
  Operand operand;
  if (!AsReference(Book(), value, CallingPlace().sheet, &operand)) operand.value = value;
  return operand;
}

}  // namespace

Answer CoerceReferences(const Request& request) {
  if (request.args.empty()) return CoerceValues(request);
  const Operand source = RequestOperand(request.args[0]);
  if (!source.IsReference()) {
    if (request.args[0].Is(xltypeRef) || request.args[0].Is(xltypeSRef)) return Fail(xlretInvXloper);
    return CoerceValues(request);
  }
  // Excel answers a worksheet function that reads a cell it has yet to
  // calculate xlretUncalced, and calls it again once the cell is calculated
  // (excel4-excel12.md); a function registered thread-safe, on any of its
  // threads (multithreaded-recalculation-in-excel.md). xllhost, which does
  // not call a function again, answers so only a thread-safe one, whose
  // read would race the thread calculating the cell; any other reads what
  // the cell holds now, as a macro-sheet equivalent (#) may in Excel.
  const Workbook& book = Book();
  if (RunningThreadSafe() != nullptr) {
    const Cell* waiting = nullptr;
    book.ForEachIn(source.sheet, source.area, [&](const Cell& cell) {
      if (waiting == nullptr && Uncalculated(cell)) waiting = &cell;
    });
    if (waiting != nullptr) {
      Answer refused = Fail(xlretUncalced);
      refused.note = "needs " + book.Where(source.sheet, waiting->row, waiting->column) +
                     ", which is not calculated yet; Excel calls the function again once it is, xllhost does not";
      return refused;
    }
  }
  std::string ignored;  // what the cells hold now, calculated or not
  std::vector<Value> args = request.args;
  args[0] = AreaValues(book, source.sheet, source.area, &ignored);
  if (args[0].Is(xltypeMulti) && args[0].elements.empty()) return Fail(xlretFailed);
  return CoerceValues(Request{args, request.via, request.caller});
}

bool IsCalculatedBuiltin(int xlfn) {
  const Builtin* builtin = FindBuiltin(xlfn);
  return builtin != nullptr && builtin->calculate != nullptr;
}

Answer CallBuiltin(int xlfn, const Request& request) {
  const Builtin& builtin = *FindBuiltin(xlfn);
  const int count = static_cast<int>(request.args.size());
  if (count < builtin.fewest || count > builtin.most) return Fail(xlretInvCount);
  std::vector<Operand> args;
  for (const Value& value : request.args) args.push_back(RequestOperand(value));
  const Place place = CallingPlace();
  std::string notCalculated;
  Value value = builtin.calculate(BuiltinCall{Book(), place, args, &notCalculated});
  if (!notCalculated.empty()) return Fail(xlretFailed, std::string(builtin.name) + ": " + notCalculated);
  return Success(value);
}

// The function is held while it runs, which may take back its own registration.
Answer CallUserFunction(const Request& request) {
  if (request.args.empty()) return Fail(xlretInvCount);
  const Value& called = request.args[0];
  double id = 0;
  if (called.Is(xltypeNum)) {
    id = called.num;
  } else if (called.Is(xltypeStr)) {
    const DefinedName* name = FindName(called.text);
    id = name != nullptr ? name->registerId : 0;
  } else if (called.Is(xltypeRef) || called.Is(xltypeSRef)) {
    return Fail(xlretInvXlfn, "the add-in called xlUDF of a macro sheet's cell, which xllhost does not model");
  } else {
    return Fail(xlretInvXloper);
  }
  const std::shared_ptr<const Registration> held = id > 0 ? HoldRegistration(id) : nullptr;
  if (held == nullptr) return Success(ErrorValue(xlerrName));
  return Success(Invoke(*held, std::vector<Value>(request.args.begin() + 1, request.args.end())));
}

// A command-equivalent (class 3), which Excel runs only for a command: from
// a worksheet function it fails (xlset.md, excel4-excel12.md). xllhost
// runs no command, and does not model the cells it would write.
Answer SetCells(const Request& request) {
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  if (Calling().inCell) {
    Answer refused = Fail(xlretFailed);
    refused.refused = CallerCellName() + " called xlSet, which Excel runs only for a command: it failed (code 32)";
    return refused;
  }
  return Fail(xlretInvXlfn, "the add-in called xlSet outside a cell, where Excel writes the cells; xllhost does not "
                            "model that, and answered code 2");
}

}  // namespace xllhost
