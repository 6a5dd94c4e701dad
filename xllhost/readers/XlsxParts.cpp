#include "readers/XlsxParts.h"

#include <cstdlib>
#include <cstring>
#include <functional>

#include "readers/SavedNumber.h"
#include "readers/TextForm.h"
#include "readers/Xml.h"

namespace xllhost {
namespace {

// An XML reader made of functions, for the small parts.
struct Handlers : XmlReader {
  std::function<void(std::string_view, const char**)> start;
  std::function<void(std::string_view)> text = [](std::string_view) {};
  std::function<void(std::string_view)> end = [](std::string_view) {};
  void Start(std::string_view name, const char** attributes) override { start(name, attributes); }
  void Text(std::string_view t) override { text(t); }
  void End(std::string_view name) override { end(name); }
};

bool ReadPart(const ZipArchive& zip, const std::string& part, XmlReader& reader, std::string* why) {
  XmlStream stream(reader);
  std::string said;
  const bool read = zip.Read(part, [&](const char* bytes, std::size_t size) { return stream.Feed(bytes, size, &said); },
                             why) &&
                    said.empty() && stream.Finish(&said);
  if (!said.empty()) *why = part + ": " + said;
  return read && said.empty();
}

std::string Folder(const std::string& part) { return part.substr(0, part.rfind('/') + 1); }

// A relationship's target as a path in the archive: from the root when it
// starts with "/", else from the source part's folder, "../" climbing.
std::string Resolve(const std::string& source, const std::string& target) {
  std::string path = target[0] == '/' ? target.substr(1) : Folder(source) + target;
  std::vector<std::string> parts;
  for (size_t at = 0; at <= path.size();) {
    size_t slash = path.find('/', at);
    if (slash == std::string::npos) slash = path.size();
    const std::string piece = path.substr(at, slash - at);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    at = slash + 1;
  }
  std::string resolved;
  for (const std::string& piece : parts) resolved += (resolved.empty() ? "" : "/") + piece;
  return resolved;
}

const char* Or(const char* value, const char* otherwise) { return value != nullptr ? value : otherwise; }

}  // namespace

bool ReadRelations(const ZipArchive& zip, const std::string& part, Relations* relations, std::string* why) {
  const std::string file = Folder(part) + "_rels/" + part.substr(part.rfind('/') + 1) + ".rels";
  if (!zip.Has(file)) return true;
  Handlers reader;
  reader.start = [&](std::string_view name, const char** attributes) {
    const char* target = Attribute(attributes, "Target");
    if (name != "Relationship" || target == nullptr || *target == '\0') return;
    const std::string type = Or(Attribute(attributes, "Type"), "");
    const bool external = std::strcmp(Or(Attribute(attributes, "TargetMode"), ""), "External") == 0;
    (*relations)[Or(Attribute(attributes, "Id"), "")] =
        Relation{external ? target : Resolve(part, target), type.substr(type.rfind('/') + 1)};
  };
  return ReadPart(zip, file, reader, why);
}

bool ReadWorkbookParts(const ZipArchive& zip, WorkbookParts* book, std::string* why) {
  Relations package;
  if (!ReadRelations(zip, "", &package, why)) return false;
  std::string main;
  for (const auto& [id, relation] : package)
    if (relation.type == "officeDocument") main = relation.part;
  if (main.empty()) return *why = "the package names no workbook part (_rels/.rels)", false;
  Relations relations;
  if (!ReadRelations(zip, main, &relations, why)) return false;
  for (const auto& [id, relation] : relations)
    if (relation.type == "sharedStrings") book->sharedStrings = relation.part;
  std::string missing;
  auto partOf = [&](const char* id, const char* type) -> std::string {
    const auto found = relations.find(Or(id, ""));
    if (found == relations.end() || found->second.type != type) return "";
    if (!zip.Has(found->second.part) && missing.empty())
      missing = "its relationship " + std::string(id) + " names " + found->second.part + ", which is not in the file";
    return found->second.part;
  };
  Handlers reader;
  NameEntry* name = nullptr;
  reader.start = [&](std::string_view element, const char** attributes) {
    if (element == "sheet") {
      const char* id = Attribute(attributes, "id");
      std::string part = partOf(id, "worksheet");
      if (part.empty() && relations.count(Or(id, "")) == 0 && missing.empty())
        missing = "sheet " + std::string(Or(Attribute(attributes, "name"), "")) + " has no relationship " + Or(id, "");
      book->sheets.push_back(SheetEntry{Or(Attribute(attributes, "name"), ""), part});
    } else if (element == "externalReference") {
      book->externalLinks.push_back(partOf(Attribute(attributes, "id"), "externalLink"));
    } else if (element == "definedName") {
      const char* scope = Attribute(attributes, "localSheetId");
      book->names.push_back(NameEntry{Or(Attribute(attributes, "name"), ""), scope ? std::atoi(scope) : -1, ""});
      name = &book->names.back();
    } else if (element == "workbookPr") {
      const char* date1904 = Attribute(attributes, "date1904");
      book->date1904 = date1904 != nullptr && (std::strcmp(date1904, "1") == 0 || std::strcmp(date1904, "true") == 0);
    }
  };
  reader.text = [&](std::string_view text) {
    if (name != nullptr) name->text += text;
  };
  reader.end = [&](std::string_view element) {
    if (element == "definedName") name = nullptr;
  };
  if (!ReadPart(zip, main, reader, why)) return false;
  if (!missing.empty()) return *why = main + ": " + missing, false;
  return true;
}

bool ReadSharedStrings(const ZipArchive& zip, const std::string& part, std::vector<std::string>* strings,
                       std::string* why) {
  Handlers reader;
  int phonetic = 0;  // inside <rPh>, whose text is a reading guide, not the string's
  bool inText = false;
  reader.start = [&](std::string_view name, const char**) {
    if (name == "si") strings->emplace_back();
    phonetic += name == "rPh";
    inText = name == "t" && phonetic == 0 && !strings->empty();
  };
  reader.text = [&](std::string_view text) {
    if (inText) strings->back() += text;
  };
  reader.end = [&](std::string_view name) {
    phonetic -= name == "rPh";
    inText = false;
  };
  return ReadPart(zip, part, reader, why);
}

bool ReadExternalLink(const ZipArchive& zip, const std::string& part, std::vector<CachedSheet>* sheets,
                      std::string* why) {
  std::vector<std::string> names;
  Handlers reader;
  std::string reference, type, value;
  bool inValue = false, keep = false;
  reader.start = [&](std::string_view name, const char** attributes) {
    if (name == "sheetName") names.push_back(Or(Attribute(attributes, "val"), ""));
    if (name == "sheetData") {
      const char* id = Attribute(attributes, "sheetId");
      const int sheet = id != nullptr ? std::atoi(id) : -1;
      keep = sheet >= 0 && static_cast<size_t>(sheet) < names.size();
      if (keep) sheets->push_back(CachedSheet{names[static_cast<size_t>(sheet)], {}});
    }
    if (name == "cell") {
      reference = Or(Attribute(attributes, "r"), "");
      type = Or(Attribute(attributes, "t"), "n");
      value.clear();
    }
    inValue = name == "v";
  };
  reader.text = [&](std::string_view text) {
    if (inValue) value += text;
  };
  reader.end = [&](std::string_view name) {
    inValue = false;
    if (name != "cell" || !keep || value.empty()) return;
    std::string constant;
    // A number another workbook held is written as a double, whole or not.
    if (type == "n") {
      double number = 0;
      if (!WriteSavedNumber(value, &constant)) return;
      number = std::strtod(constant.c_str(), nullptr);
      constant = ShortestText(number);
    } else if (!ConstantText(type, value, &constant)) {
      return;
    }
    sheets->back().cells.emplace_back(reference, constant);
  };
  return ReadPart(zip, part, reader, why);
}

}  // namespace xllhost
