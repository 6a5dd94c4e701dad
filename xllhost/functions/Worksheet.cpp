// A cell of the one sheet: what it shows for a formula, calling the
// registered function a formula names; and xlfEvaluate, which calculates a
// text as such a cell would.
#include "Worksheet.h"

#include <algorithm>
#include <utility>

#include "Formula.h"
#include "Registrations.h"
#include "Information.h"
#include "Invoke.h"
#include "Modules.h"

namespace xllhost {

bool IsFormulaCall(const std::string& formula, std::string* name) {
  Formula parsed;
  std::string why;
  if (!ParseFormula(formula, &parsed, &why) || !parsed.isCall) return false;
  if (name != nullptr) *name = parsed.name;
  return true;
}

namespace {

// What a cell shows for a formula already read from `text`.
Value CellValue(const Formula& formula, const std::string& text, int row) {
  if (!formula.isCall) return formula.literal;
  const DefinedName* defined = FindName(formula.name);
  if (defined == nullptr) return ErrorValue(xlerrName);
  if (defined->registerId == 0) return formula.args.empty() ? defined->value : ErrorValue(xlerrValue);
  Registration* registration = FindRegistration(defined->registerId);
  if (registration == nullptr) return ErrorValue(xlerrName);
  Registration called = *registration;  // the function may unregister itself
  return WithControl([&] {
    const int outerCell = CallerCell();
    const std::string outerFormula = State().callerFormula;
    SetCallerCell(row, text);
    Value value = Invoke(called, formula.args);
    SetCallerCell(outerCell, outerFormula);
    return value;
  });
}

}  // namespace

Value Evaluate(const std::string& text, int row) {
  Formula formula;
  std::string why;
  return ParseFormula(text, &formula, &why) ? CellValue(formula, text, row) : ErrorValue(xlerrName);
}

// xlfEvaluate: what a cell holding the text as its formula shows; a text
// without "=" is read as if it had one. A text xllhost cannot read fails.
Answer EvaluateText(const Request& request) {
  if (request.args.size() != 1) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  std::string text = request.args[0].text;
  if (text.empty() || text[0] != '=') text.insert(0, "=");
  Formula formula;
  std::string why;
  if (!ParseFormula(text, &formula, &why)) return Fail(xlretFailed);
  return Success(CellValue(formula, text, std::max(CallerCell(), 0)));
}

}  // namespace xllhost
