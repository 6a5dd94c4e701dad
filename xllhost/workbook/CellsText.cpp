#include "workbook/CellsText.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "formulas/Literals.h"
#include "readers/Limits.h"

namespace xllhost {
namespace {

std::string_view TrimView(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r"), last = text.find_last_not_of(" \t\r");
  return first == std::string_view::npos ? std::string_view() : text.substr(first, last - first + 1);
}

std::string Trim(const std::string& text) { return std::string(TrimView(text)); }

// The line with its escapes replaced; false for an unknown escape.
bool Unescape(std::string_view line, std::string* text) {
  text->clear();
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\') {
      const size_t escape = std::min(line.find('\\', i), line.size());
      text->append(line.data() + i, escape - i);  // a run without escapes at once
      i = escape - 1;
      continue;
    }
    if (++i == line.size()) return false;
    switch (line[i]) {
      case 'n': *text += '\n'; break;
      case 't': *text += '\t'; break;
      case 'r': *text += '\r'; break;
      case '\\': *text += '\\'; break;
      default: return false;
    }
  }
  return true;
}

// Where " -> " stands outside texts and quoted sheet names, or npos.
size_t SavedArrow(std::string_view text) {
  bool inText = false, inSheet = false;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '"' && !inSheet) inText = !inText;
    if (text[i] == '\'' && !inText) inSheet = !inSheet;
    if (!inText && !inSheet && text[i] == '-' && text[i + 1] == '>') return i;
  }
  return std::string::npos;
}

// "Sheet2!B3", "'My Sheet'!B3:C4" or "B3": the sheet's name (empty when
// none is written) and the area.
bool ReadPlace(const std::string& text, std::string* sheet, Area* area) {
  std::string cells;
  return SplitSheet(text, sheet, &cells) && ReadArea(cells, area);
}

int SheetFor(Workbook* book, const std::string& name) {
  const int found = book->FindSheet(name);
  return found >= 0 ? found : book->AddSheet(name);
}

// One cell line: where, what, and what Excel saved.
bool ReadCellLine(const std::string& line, Workbook* book, int sheet, std::string* why) {
  std::string sheetName;
  size_t quoted = 0;  // a quoted sheet name may hold spaces
  if (line[0] == '\'') ReadQuoted(line, 0, &sheetName, &quoted);
  const size_t space = line.find(' ', quoted);
  Area area;
  if (space == std::string::npos || !ReadPlace(line.substr(0, space), &sheetName, &area))
    return *why = "expected a cell such as A1 or a block such as A1:B2, then what it holds", false;
  if (!sheetName.empty()) sheet = SheetFor(book, sheetName);
  // Views into the line: a big workbook's lines are read without copying their parts.
  std::string_view content = TrimView(std::string_view(line).substr(space + 1));
  Value saved;
  bool hasSaved = false;
  if (const size_t arrow = SavedArrow(content); arrow != std::string::npos) {
    const std::string written(TrimView(content.substr(arrow + 2)));
    if (!ReadValue(written, &saved)) return *why = "what Excel saved is no constant: " + written, false;
    hasSaved = true;
    content = TrimView(content.substr(0, arrow));
  }
  const bool block = content.size() >= 3 && content.front() == '{' && content[1] == '=' && content.back() == '}';
  if (!area.IsCell() && !block) return *why = "a block holds an array formula, written {=...}", false;
  if (block) {
    const size_t cells = static_cast<size_t>(area.Rows()) * static_cast<size_t>(area.Columns());
    if (cells > MostBlockCells)
      return *why = "an array formula over " + std::to_string(cells) + " cells, more than the " +
                    std::to_string(MostBlockCells) + " xllhost keeps", false;
    std::string unread;
    book->SetArrayFormula(sheet, area, std::string(content.substr(1, content.size() - 2)), hasSaved ? &saved : nullptr,
                          &unread);
    return true;
  }
  if (!content.empty() && content[0] == '=') {
    std::string unread;  // a formula xllhost cannot read stays, not calculated
    book->SetFormula(sheet, area.firstRow, area.firstColumn, std::string(content), hasSaved ? &saved : nullptr,
                     &unread);
    return true;
  }
  if (hasSaved) return *why = "a constant has no saved value", false;
  Value value;
  if (!ReadValue(std::string(content), &value) || value.Is(xltypeMulti))
    return *why = "expected a number, a text in quotes, TRUE, FALSE, an error or a formula", false;
  book->SetValue(sheet, area.firstRow, area.firstColumn, value);
  return true;
}

bool ReadNameLine(const std::string& rest, Workbook* book, std::string* why) {
  const size_t space = rest.find(" =");
  if (space == std::string::npos) return *why = "expected: name NAME =FORMULA", false;
  std::string sheetName, name;
  if (!SplitSheet(Trim(rest.substr(0, space)), &sheetName, &name))
    return *why = "expected a sheet's name in quotes, then \"!\"", false;
  const int scope = sheetName.empty() ? -1 : SheetFor(book, sheetName);
  std::string unread;  // a name xllhost cannot read stays, and what uses it is not calculated
  book->DefineName(name, scope, Trim(rest.substr(space + 1)), &unread);
  return true;
}

}  // namespace


bool ReadCells(const std::string& text, Workbook* book, std::string* why) {
  book->ExpectCells(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  int sheet = -1;
  size_t number = 0;
  std::string line, what;  // kept from line to line, as their storage is
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view raw = TrimView(std::string_view(text).substr(start, end - start));
    start = end + 1;
    ++number;
    if (raw.empty() || raw[0] == '#') continue;
    bool read = Unescape(raw, &line);
    if (!read) {
      what = "a backslash starts no escape (\\n, \\t, \\r or \\\\)";
    } else if (line.rfind("book ", 0) == 0) {
      book->name = Trim(line.substr(5));
    } else if (line.rfind("sheet ", 0) == 0) {
      const std::string name = Trim(line.substr(6));
      if (book->FindSheet(name) >= 0) {
        read = false;
        what = "the sheet " + name + " is given twice";
      } else {
        sheet = book->AddSheet(name);
      }
    } else if (line.rfind("name ", 0) == 0) {
      read = ReadNameLine(line.substr(5), book, &what);
    } else {
      if (sheet < 0) sheet = book->Sheets().empty() ? book->AddSheet(DefaultSheet) : 0;
      read = ReadCellLine(line, book, sheet, &what);
    }
    if (!read) return *why = "line " + std::to_string(number) + ": " + what, false;
  }
  if (book->Sheets().empty()) book->AddSheet(DefaultSheet);
  return book->Finish(why);
}

bool ReadCellOption(const std::string& text, Workbook* book, std::string* why) {
  const size_t equals = text.find('=');
  std::string sheetName;
  Area area;
  if (equals == std::string::npos || !ReadPlace(text.substr(0, equals), &sheetName, &area) || !area.IsCell())
    return *why = "--cell takes a cell and what it holds, such as A1=2 or B1==A1*2, not " + text, false;
  if (book->Sheets().empty()) book->AddSheet(DefaultSheet);
  const int sheet = sheetName.empty() ? 0 : SheetFor(book, sheetName);
  const std::string content = text.substr(equals + 1);
  if (!content.empty() && content[0] == '=') {
    std::string unread;
    if (!book->SetFormula(sheet, area.firstRow, area.firstColumn, content, nullptr, &unread))
      return *why = "--cell " + text + ": " + unread, false;
    return true;
  }
  Value value;
  if (!ReadValue(std::string(content), &value) || value.Is(xltypeMulti)) {
    if (content.empty()) return *why = "--cell " + text + " holds nothing", false;
    value = TextValue(content);  // a bare word is a text, as Excel takes one typed into a cell
  }
  book->SetValue(sheet, area.firstRow, area.firstColumn, value);
  return true;
}

}  // namespace xllhost
