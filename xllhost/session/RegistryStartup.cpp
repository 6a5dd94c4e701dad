#include "RegistryStartup.h"

#include <windows.h>

#include <algorithm>

#include "AddIn.h"
#include "AddInFile.h"
#include "InstalledFile.h"
#include "OptionsKeys.h"
#include "SessionSteps.h"
#include "StartupList.h"
#include "Transcript.h"
#include "WindowsText.h"

namespace xllhost {

namespace {

struct Listed {
  std::string name;  // the value that names it: OPEN, OPEN1, ...
  std::string path;  // in the ANSI code page, as the host loads it
};

// The path in the ANSI code page the host loads through; `lossy` when it has
// characters that code page lacks.
std::string Ansi(const std::wstring& text, bool* lossy) {
  BOOL usedDefault = FALSE;
  int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                 &usedDefault);
  std::string converted(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &converted[0], size, nullptr,
                      &usedDefault);
  *lossy = usedDefault != FALSE;
  return converted;
}

// A path without a folder names a file in the user's add-ins folder, where
// Excel keeps the add-ins the Add-In Manager lists.
std::wstring InAddInsFolder(const std::wstring& path) {
  if (path.find_first_of(L"\\/:") != std::wstring::npos) return path;
  std::wstring folder = setup::AddInsFolder();
  return folder.empty() ? path : folder + L"\\" + path;
}

std::vector<setup::RegValue> OptionsValues(const std::wstring& key, bool* found) {
  std::vector<setup::RegValue> values;
  HKEY options;
  *found = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &options) == ERROR_SUCCESS;
  if (!*found) return values;
  setup::ReadValues(options, values);
  RegCloseKey(options);
  return values;
}

// What Excel does with one entry of its list: true when it opens an XLL.
bool ReadEntry(const setup::RegValue& value, Listed* listed) {
  std::wstring text = setup::ValueText(value);
  if (value.type == setup::kRegExpandSz) text = setup::Expanded(text);
  std::string name = FromWide(value.name);
  Say("Excel reads %s: %s\n", name, FromWide(text));
  setup::Entry entry = setup::ParseEntry(text);
  if (value.type != setup::kRegSz && value.type != setup::kRegExpandSz) {
    Unusable(name + " is not a string value, so xllhost cannot tell what Excel makes of it");
    return false;
  }
  if (!entry.closed || entry.path.empty()) {
    Unusable(name + " holds " + FromWide(text) +
             (entry.closed ? ", which names no file" : ", whose path has no closing quote") +
             ", so xllhost cannot tell what Excel would open");
    return false;
  }
  std::wstring path = InAddInsFolder(entry.path);
  if (setup::EndsWithText(path, L".xla") || setup::EndsWithText(path, L".xlam")) {
    Say("  %s is an add-in workbook, which xllhost does not model: skipped\n", FromWide(path));
    return false;
  }
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Problem(name + ": Excel cannot find " + FromWide(path));
    return false;
  }
  bool lossy = false;
  listed->name = name;
  listed->path = Ansi(path, &lossy);
  if (lossy) {
    Unusable(name + ": the path " + FromWide(path) + " has characters that the ANSI code page xllhost loads through lacks");
    return false;
  }
  std::string why = WhyNotAnAddIn(listed->path);
  if (!why.empty()) Problem(name + ": " + FromWide(path) + " " + why + ", so Excel cannot open it");
  return why.empty();
}

// The add-ins Excel opens, in its order. Entries after the first missing
// number are never read by Excel: each is named as such.
std::vector<Listed> ReadList(const std::string& version) {
  bool found = false;
  std::vector<setup::RegValue> values =
      OptionsValues(ToWide("Software\\Microsoft\\Office\\" + version + "\\Excel\\Options"), &found);
  if (!found) Say("Excel %s has no Options key, so it opens no add-in at start-up\n", version);
  auto at = [&values](int index) {
    return std::find_if(values.begin(), values.end(),
                        [index](const setup::RegValue& v) { return setup::EntryIndex(v.name) == index; });
  };
  std::vector<Listed> list;
  int gap = 0;
  for (; at(gap) != values.end(); ++gap) {
    Listed listed;
    if (ReadEntry(*at(gap), &listed)) list.push_back(listed);
  }
  for (const setup::RegValue& value : values) {
    if (setup::EntryIndex(value.name) > gap)
      Problem(FromWide(value.name) + " holds " + FromWide(setup::ValueText(value)) + ", but Excel stops reading at the missing " +
              FromWide(setup::EntryName(gap)) + " and never opens it");
  }
  return list;
}

}  // namespace

int PlayStartupFromRegistry(const std::string& officeVersion, const SessionOptions& options) {
  OnCall(PrintCall);
  Say("Scenario startup from the registry: Excel %s starts, opens the add-ins its start-up list names, uses them "
      "and exits\n",
      officeVersion);
  SayHost("HKCU\\Software\\Microsoft\\Office\\" + officeVersion + "\\Excel\\Options");
  std::vector<AddIn> open;
  std::vector<Listed> opened;
  for (const Listed& listed : ReadList(officeVersion)) {
    AddIn addIn = Load(listed.path);
    if (addIn.module == nullptr) {
      Problem(listed.name + ": Excel cannot load " + listed.path + ": " + WhyNotLoaded(listed.path, addIn.loadError));
      continue;
    }
    Say("Excel loads %s (%s)\n", listed.path, listed.name);
    CheckEntries(addIn);
    CallAddInEntry("Excel", "xlAutoOpen", addIn.autoOpen != nullptr, Open, addIn);
    open.push_back(addIn);
    opened.push_back(listed);
  }
  if (options.checkTitle) {
    bool shown = false;
    for (const AddIn& addIn : open) {
      std::vector<std::string> titles = AskName(addIn, nullptr);
      shown = shown || std::find(titles.begin(), titles.end(), options.title) != titles.end();
    }
    if (!shown) Problem("no add-in shows " + options.title + " in the Add-In Manager");
  }
  std::vector<std::string> formulas = options.formulas;
  if (formulas.empty()) {
    for (const AddIn& addIn : open)
      for (const std::string& formula : RegisteredFormulas(addIn.module)) formulas.push_back(formula);
  }
  // Cells of functions nobody registered show #NAME?, as a worksheet does.
  CalculateCells(formulas, &options, false);
  for (size_t i = open.size(); i-- > 0;) {
    Say("Excel exits: it closes %s (%s)\n", opened[i].path, opened[i].name);
    CallAddInEntry("Excel", "xlAutoClose", open[i].autoClose != nullptr, Close, open[i]);
    TakeBackLeftovers("Excel", open[i]);
    UnloadAndCheck("Excel", open[i]);
  }
  return Verdict();
}

}  // namespace xllhost
