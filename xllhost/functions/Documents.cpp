// Each type as Excel's help on the XLM information functions describes it.
#include "functions/Documents.h"

#include <algorithm>

#include "functions/Information.h"
#include "functions/Workspace.h"

namespace xllhost {
namespace {

// The sheet an information function asks about: the one name_text names, as
// Sheet1 or [Book1]Sheet1, or the workbook's first for the workbook's name;
// without name_text the active sheet, the calling cell's. -1: none is named so.
struct Asked {
  int sheet = -1;
  bool workbook = false;  // name_text named the workbook
};
Asked AskedOf(const Request& request) {
  if (request.args.size() < 2 || request.args[1].Is(xltypeMissing) || request.args[1].Is(xltypeNil))
    return {CallingPlace().sheet, false};
  if (!request.args[1].Is(xltypeStr)) return {};
  if (Upper(request.args[1].text) == Upper(Book().name)) return {0, true};
  return {SheetCalled(request.args[1].text), false};
}

// Types 9 to 12: the first and last rows and columns that hold a cell,
// counted from 1; 0 on an empty sheet.
Value UsedEdge(int sheet, int type) {
  const std::vector<Cell>& cells = Book().Sheets()[static_cast<size_t>(sheet)].cells;
  if (cells.empty()) return NumberValue(0);
  int first = type <= 10 ? cells.front().row : cells.front().column, last = first;
  for (const Cell& cell : cells) {
    const int at = type <= 10 ? cell.row : cell.column;
    first = std::min(first, at);
    last = std::max(last, at);
  }
  return NumberValue((type == 9 || type == 11 ? first : last) + 1);
}

// The help says type 1 answers the workbook's name alone when it has a
// single sheet: that is Excel 4's one-sheet file, whose sheet bears the
// book's name. Excel answers [Book1]Sheet1 for any other sheet, as
// types 76 and 88 do for the sheet and the workbook.
bool SheetIsTheBook(int sheet) {
  const Workbook& book = Book();
  return book.Sheets().size() == 1 && Upper(book.Sheets()[static_cast<size_t>(sheet)].name) == Upper(book.name);
}

}  // namespace

Answer GetDocument(const Request& request) {
  int type = 0;
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  if (!InformationType(request.args[0], &type)) return Fail(xlretInvXloper);
  const Asked asked = AskedOf(request);
  if (asked.sheet < 0) return Success(ErrorValue(xlerrNA));  // no sheet or workbook of that name is open
  switch (type) {
    case 1: return Success(TextValue(SheetIsTheBook(asked.sheet) ? Book().name : SheetText(asked.sheet)));
    case 2:  // the folder it was saved in: none for a new workbook
      if (Book().name == NewBook) return Success(ErrorValue(xlerrNA));
      return NotModelled("GET.DOCUMENT", type);  // xllhost reads a copy of the cells, not knowing where the file was
    case 3: return Success(NumberValue(asked.workbook && !SheetIsTheBook(asked.sheet) ? 5 : 1));  // a worksheet
    case 9:
    case 10:
    case 11:
    case 12: return Success(UsedEdge(asked.sheet, type));
    // The calculation settings of a new workbook, which xllhost keeps: it
    // calculates automatically, without iteration, at full precision.
    case 14: return Success(NumberValue(1));
    case 15: return Success(BooleanValue(false));
    case 16: return Success(NumberValue(100));
    case 17: return Success(NumberValue(0.001));
    case 19: return Success(BooleanValue(false));
    case 76: return Success(TextValue(SheetText(asked.sheet)));
    case 88: return Success(TextValue(Book().name));
    default: return NotModelled("GET.DOCUMENT", type);
  }
}

Answer GetWorkbook(const Request& request) {
  int type = 0;
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  if (!InformationType(request.args[0], &type)) return Fail(xlretInvXloper);
  const Asked asked = AskedOf(request);
  if (asked.sheet < 0 || (request.args.size() == 2 && request.args[1].Is(xltypeStr) && !asked.workbook))
    return Success(ErrorValue(xlerrNA));  // name_text names no open workbook
  const int active = CallingPlace().sheet;
  Value names;
  names.xltype = xltypeMulti;
  names.rows = 1;
  switch (type) {
    case 1:  // every sheet's name, in a row
      for (size_t i = 0; i < Book().Sheets().size(); ++i) names.elements.push_back(TextValue(SheetText(static_cast<int>(i))));
      break;
    case 3: names.elements.push_back(TextValue(SheetText(active))); break;  // the sheets selected: the active one
    case 4: return Success(NumberValue(static_cast<double>(Book().Sheets().size())));
    default: return NotModelled("GET.WORKBOOK", type);
  }
  names.columns = static_cast<int>(names.elements.size());
  return Success(names);
}

}  // namespace xllhost
