// Each type as Excel's help on the XLM information functions describes it.
#include "functions/CellInformation.h"

#include <cctype>

#include "builtins/Operands.h"
#include "formulas/FormulaText.h"
#include "formulas/Literals.h"
#include "functions/Information.h"
#include "functions/Registrations.h"
#include "functions/Workspace.h"

namespace xllhost {
namespace {

// The sheet of the workbook a text names, after the [Book] it may start
// with; -1 when none is named so.
int SheetAfterBook(const std::string& text) { return Book().FindSheet(text.substr(text.find(']') + 1)); }

// TYPE's number for what a cell holds: an empty cell counts as a number.
double TypeNumber(const Value& value) {
  switch (value.Type()) {
    case xltypeStr: return 2;
    case xltypeBool: return 4;
    case xltypeErr: return 16;
    case xltypeMulti: return 64;
    default: return 1;
  }
}

// A constant as a formula writes it, after "=".
std::string ConstantFormula(const Value& value) {
  if (!value.Is(xltypeStr)) return Display(value);
  std::string quoted = "\"";
  for (char c : value.text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// One corner of an R1C1 reference: R, R5 or R[-2], then C, C3 or C[1];
// relative parts count from the active cell. False when the text has none.
bool ReadR1C1Corner(const std::string& text, size_t& at, int row, int column, int* cornerRow, int* cornerColumn) {
  const auto part = [&](char letter, int from, int* result) {
    if (at >= text.size() || std::toupper(static_cast<unsigned char>(text[at])) != letter) return false;
    ++at;
    const bool relative = at < text.size() && text[at] == '[';
    if (relative) ++at;
    const size_t start = at;
    if (relative && at < text.size() && text[at] == '-') ++at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && at - start < 8) ++at;
    const bool digits = at > start && std::isdigit(static_cast<unsigned char>(text[at - 1]));
    if (relative && (!digits || at >= text.size() || text[at] != ']')) return false;
    const int number = digits ? std::stoi(text.substr(start, at - start)) : 0;
    if (relative) ++at;
    *result = relative || !digits ? from + number : number - 1;
    return !(!relative && digits && number == 0);
  };
  return part('R', row, cornerRow) && part('C', column, cornerColumn);
}

bool ReadR1C1(const std::string& text, const Place& place, Area* area) {
  size_t at = 0;
  if (!ReadR1C1Corner(text, at, place.row, place.column, &area->firstRow, &area->firstColumn)) return false;
  area->lastRow = area->firstRow;
  area->lastColumn = area->firstColumn;
  if (at < text.size() && text[at] == ':') {
    ++at;
    if (!ReadR1C1Corner(text, at, place.row, place.column, &area->lastRow, &area->lastColumn)) return false;
  }
  if (at != text.size()) return false;
  if (area->firstRow > area->lastRow) std::swap(area->firstRow, area->lastRow);
  if (area->firstColumn > area->lastColumn) std::swap(area->firstColumn, area->lastColumn);
  return area->firstRow >= 0 && area->firstColumn >= 0 && area->lastRow < MaxRows && area->lastColumn < MaxColumns;
}

}  // namespace

Answer GetCell(const Request& request) {
  int type = 0;
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  if (!InformationType(request.args[0], &type)) return Fail(xlretInvXloper);
  Operand asked;
  if (request.args.size() < 2 || !AsReference(Book(), request.args[1], CallingPlace().sheet, &asked))
    return Fail(xlretFailed, "the add-in asked GET.CELL without a reference: xllhost has no active cell");
  const Workbook& book = Book();
  const int row = asked.area.firstRow, column = asked.area.firstColumn;
  const Cell* cell = book.Find(asked.sheet, row, column);
  const Value held = cell != nullptr ? cell->value : Value{};
  const bool formula = cell != nullptr && cell->entry >= 0;
  switch (type) {
    case 1: return Success(TextValue("$" + ColumnName(column) + "$" + std::to_string(row + 1)));
    case 2: return Success(NumberValue(row + 1));
    case 3: return Success(NumberValue(column + 1));
    case 4: return Success(NumberValue(TypeNumber(held)));
    case 5: return Success(held.Is(xltypeNil) ? Value{} : held);
    case 6:  // the formula as written, or the constant as it would be typed
      if (formula) return Success(TextValue(std::string(book.Formulas()[static_cast<size_t>(cell->entry)].text)));
      return Success(TextValue(held.Is(xltypeNil) ? "" : Display(held)));
    case 48: return Success(BooleanValue(formula));
    case 62: return Success(TextValue(SheetText(asked.sheet)));
    case 66: return Success(TextValue(book.name));
    default: return NotModelled("GET.CELL", type);
  }
}

// The definition with its references in R1C1 form (xlfgetname.md); with
// info_type TRUE, whether the name is its sheet's own. A name no one
// defined answers #NAME?.
Answer GetNameDefinition(const Request& request) {
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  const bool scope = request.args.size() == 2 && request.args[1].Is(xltypeBool) && request.args[1].boolean;
  std::string sheetName, name;
  if (!SplitSheet(request.args[0].text, &sheetName, &name)) return Success(ErrorValue(xlerrName));
  // "!Sales" names the active sheet's; "[Book1]Sheet1!Sales" that sheet's.
  const bool ofActiveSheet = sheetName.substr(sheetName.find(']') + 1).empty();
  const int sheet = ofActiveSheet ? CallingPlace().sheet : SheetAfterBook(sheetName);
  if (sheetName.empty()) {
    if (const DefinedName* defined = FindName(name); defined != nullptr) {
      if (defined->registerId != 0)  // a function's hidden name
        return Fail(xlretFailed, "the add-in asked GET.NAME of the function name " + name + ", which xllhost does not model");
      return Success(scope ? BooleanValue(false) : TextValue("=" + ConstantFormula(defined->value)));
    }
  }
  const DefinedNameEntry* entry = sheet >= 0 ? Book().FindName(name, sheet) : nullptr;
  if (entry == nullptr) return Success(ErrorValue(xlerrName));
  if (scope) return Success(BooleanValue(entry->sheet >= 0));
  return Success(TextValue(entry->unread.empty() ? "=" + FormulaKey(entry->formula) : entry->text));
}

Answer Textref(const Request& request) {
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  const bool a1 = request.args.size() == 2 && request.args[1].Is(xltypeBool) && request.args[1].boolean;
  const Place place = CallingPlace();
  std::string sheetName, cells;
  Area area;
  if (!SplitSheet(request.args[0].text, &sheetName, &cells)) return Success(ErrorValue(xlerrRef));
  const int sheet = sheetName.empty() ? place.sheet : SheetAfterBook(sheetName);
  const bool read = a1 ? ReadArea(cells, &area) : ReadR1C1(cells, place, &area);
  if (sheet < 0 || !read) return Success(ErrorValue(xlerrRef));  // a text that names no reference
  return Success(AreaReference(area.firstRow, area.lastRow, area.firstColumn, area.lastColumn, Workbook::SheetId(sheet)));
}

// The first name whose definition, in R1C1 form and without "=", is the
// text (xlfgetdef.md): of type 1, the workbook's names of the sheet, or of
// the workbook, and a reference on the sheet may leave out the sheet's
// name; of type 2 the hidden ones the add-ins defined; of type 3 either.
Answer GetDef(const Request& request) {
  if (request.args.empty() || request.args.size() > 3) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  int type = 1;
  if (request.args.size() == 3 && !request.args[2].Is(xltypeMissing) && !InformationType(request.args[2], &type))
    return Fail(xlretInvXloper);
  if (type < 1 || type > 3) return Success(ErrorValue(xlerrValue));
  const std::string& text = request.args[0].text;
  const std::string wanted = Upper(text.rfind('=', 0) == 0 ? text.substr(1) : text);
  int sheet = CallingPlace().sheet;
  if (request.args.size() >= 2 && request.args[1].Is(xltypeStr))
    sheet = SheetAfterBook(request.args[1].text);
  if (sheet < 0) return Success(ErrorValue(xlerrName));
  const std::string onSheet = Upper(Book().Sheets()[static_cast<size_t>(sheet)].name);
  if (type != 2)
    for (const DefinedNameEntry& entry : Book().Names()) {
      if ((entry.sheet >= 0 && entry.sheet != sheet) || !entry.unread.empty()) continue;
      const std::string key = Upper(FormulaKey(entry.formula));
      if (key == wanted || key == onSheet + "!" + wanted || key == "'" + onSheet + "'!" + wanted)
        return Success(TextValue(entry.name));
    }
  if (type != 1)
    for (const DefinedName* name : HiddenNames())
      if (name->registerId == 0 && Upper(ConstantFormula(name->value)) == wanted) return Success(TextValue(name->written));
  return Success(ErrorValue(xlerrName));
}

}  // namespace xllhost
