// The parts of a workbook other than its sheets' cells: the relationships
// that map each sheet to its part (never the part's number), the workbook's
// sheets and names, its shared strings and the values it cached of the
// workbooks its formulas name. Each reader answers false and says why.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "readers/Zip.h"

namespace xllhost {

// A part's relationships by id: the target part's path in the archive, and
// the relationship's type (its last word: "worksheet", "sharedStrings", ...).
struct Relation {
  std::string part;
  std::string type;
};
using Relations = std::map<std::string, Relation>;
// The relationships of `part`, from _rels/NAME.rels beside it; none when it
// has no such file.
bool ReadRelations(const ZipArchive& zip, const std::string& part, Relations* relations, std::string* why);

struct SheetEntry {
  std::string name;
  std::string part;       // empty for a sheet that is no worksheet (a chart sheet)
};
struct NameEntry {
  std::string name;
  int sheet = -1;  // the sheet it belongs to, -1 for the workbook's
  std::string text;
};
struct WorkbookParts {
  std::vector<SheetEntry> sheets;
  std::vector<NameEntry> names;
  std::string sharedStrings;           // its part, empty when none
  std::vector<std::string> externalLinks;  // their parts, in the order formulas number them
  bool date1904 = false;
};
// The workbook part the package names, and what it lists.
bool ReadWorkbookParts(const ZipArchive& zip, WorkbookParts* book, std::string* why);

// Shared strings: rich text is its runs' text together, phonetic guides left out.
bool ReadSharedStrings(const ZipArchive& zip, const std::string& part, std::vector<std::string>* strings,
                       std::string* why);

// The cells another workbook's sheet held when Excel last saved this one:
// each as the text form writes a constant.
struct CachedSheet {
  std::string name;
  std::vector<std::pair<std::string, std::string>> cells;  // reference, constant
};
bool ReadExternalLink(const ZipArchive& zip, const std::string& part, std::vector<CachedSheet>* sheets,
                      std::string* why);

}  // namespace xllhost
