#include "lookup/ReferenceInformation.h"

#include <string>

#include "builtins/Operators.h"

namespace xllhost {
namespace {

// The reference's first cell; null when it holds nothing.
const Cell* FirstCell(const BuiltinCall& c) {
  const Operand& given = c.args[0];
  return c.book.Find(given.sheet, given.area.firstRow, given.area.firstColumn);
}

// A formula's text as Excel shows it: a file writes _xlfn. before newer
// functions, _xlws. before some, _xlpm. before LET's names, _xll. before an
// add-in's function, none of which Excel shows. Texts in quotes stay whole.
std::string Shown(std::string_view written) {
  std::string text;
  bool quoted = false;
  for (size_t at = 0; at < written.size(); ++at) {
    if (written[at] == '"') quoted = !quoted;
    if (!quoted && written[at] == '_') {
      const std::string rest = Upper(std::string(written.substr(at, 6)));
      const size_t prefix = rest == "_XLFN." || rest == "_XLWS." || rest == "_XLPM." ? 6 : rest.rfind("_XLL.", 0) == 0 ? 5 : 0;
      if (prefix > 0) {
        at += prefix - 1;
        continue;
      }
    }
    text += written[at];
  }
  return text;
}

}  // namespace

Value IsRef(const BuiltinCall& c) { return BooleanValue(c.args[0].IsReference()); }

Value IsFormula(const BuiltinCall& c) {
  if (!c.args[0].IsReference()) return ErrorValue(xlerrValue);
  const Cell* cell = FirstCell(c);
  return BooleanValue(cell != nullptr && (cell->entry >= 0 || cell->block >= 0));
}

// An array formula's cells are left not calculated: Microsoft's help does
// not say whether Excel shows its braces.
Value FormulaText(const BuiltinCall& c) {
  if (!c.args[0].IsReference()) return ErrorValue(xlerrValue);
  const Cell* cell = FirstCell(c);
  if (cell != nullptr && cell->block >= 0) return c.NotCalculated("FORMULATEXT of an array formula");
  if (cell == nullptr || cell->entry < 0) return ErrorValue(xlerrNA);
  return TextValue(Shown(c.book.Formulas()[static_cast<size_t>(cell->entry)].text));
}

Value SheetNumber(const BuiltinCall& c) {
  if (!c.Given(0)) return NumberValue(c.place.sheet + 1);
  if (c.args[0].IsReference()) return NumberValue(c.args[0].sheet + 1);
  const Value given = c.Scalar(0);
  if (given.Is(xltypeErr)) return given;
  if (!given.Is(xltypeStr)) return ErrorValue(xlerrNA);
  const int sheet = c.book.FindSheet(given.text);
  return sheet < 0 ? ErrorValue(xlerrNA) : NumberValue(sheet + 1);
}

Value SheetCount(const BuiltinCall& c) {
  if (!c.Given(0)) return NumberValue(static_cast<double>(c.book.Sheets().size()));
  return c.args[0].IsReference() ? NumberValue(1) : ErrorValue(xlerrValue);
}

// HYPERLINK(link_location, [friendly_name]): a cell shows the friendly name,
// or without one the link; xllhost follows no link.
Value Hyperlink(const BuiltinCall& c) { return c.Given(1) ? c.Scalar(1) : c.Scalar(0); }

}  // namespace xllhost
