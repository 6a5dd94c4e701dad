#include "readers/Xlsx.h"

#include "readers/TextForm.h"
#include "readers/XlsxParts.h"
#include "readers/XlsxSheet.h"
#include "readers/Zip.h"

namespace xllhost {
namespace {

std::string SheetPrefix(const std::string& name) {
  std::string quoted = "'";
  for (char c : name) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'!";
}

bool ReadBook(const ZipArchive& zip, const XlsxSource& source, std::string* text, std::string* why) {
  WorkbookParts book;
  if (!ReadWorkbookParts(zip, &book, why)) return false;
  std::vector<std::string> strings;
  if (!book.sharedStrings.empty() && !ReadSharedStrings(zip, book.sharedStrings, &strings, why)) return false;
  AppendEscaped({"book ", source.name}, text);
  size_t before = 0;  // the cells of the sheets already read
  for (const SheetEntry& sheet : book.sheets) {
    if (sheet.part.empty()) continue;  // a chart sheet holds no cells
    AppendEscaped({"sheet ", sheet.name}, text);
    SheetSource cells{zip, sheet.part, strings};
    size_t read = 0;
    cells.progress = [&](size_t count) {
      read = count;
      source.progress(before + count);
    };
    if (!ReadSheetCells(cells, text, why)) return false;
    before += read;
  }
  for (size_t link = 0; link < book.externalLinks.size(); ++link) {
    if (book.externalLinks[link].empty()) continue;
    std::vector<CachedSheet> sheets;
    if (!ReadExternalLink(zip, book.externalLinks[link], &sheets, why)) return false;
    for (const CachedSheet& sheet : sheets) {
      AppendEscaped({"sheet [", std::to_string(link + 1), "]", sheet.name}, text);
      for (const auto& [reference, value] : sheet.cells) AppendEscaped({reference, " ", value}, text);
    }
  }
  for (const NameEntry& name : book.names) {
    // Excel's own names (print areas, filters) and names without a formula are not the workbook's.
    if (name.name.rfind("_xlnm.", 0) == 0 || name.text.empty()) continue;
    if (name.sheet >= static_cast<int>(book.sheets.size())) continue;
    const std::string scope = name.sheet < 0 ? "" : SheetPrefix(book.sheets[static_cast<size_t>(name.sheet)].name);
    AppendEscaped({"name ", scope, name.name, " =", name.text}, text);
  }
  return true;
}

}  // namespace

bool ReadXlsx(const XlsxSource& source, std::string* text, std::string* why) {
  ZipArchive zip;
  std::string said;
  if (!(source.bytes != nullptr ? zip.OpenBytes(*source.bytes, &said) : zip.OpenFile(source.path, &said)))
    return *why = source.name + " is no workbook: not a zip file as .xlsx and .xlsm are (" + said + ")", false;
  if (!ReadBook(zip, source, text, &said)) return *why = source.name + " cannot be read as a workbook: " + said, false;
  return true;
}

}  // namespace xllhost
