#include "RegistryStartup.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "AddIn.h"
#include "AddInFile.h"
#include "SessionSteps.h"
#include "StartupList.h"
#include "Transcript.h"

namespace xllhost {

namespace {

struct Listed {
  std::string name;  // the value that names it: OPEN, OPEN1, ...
  std::string path;  // in the ANSI code page, as the host loads it
};

std::string Convert(const std::wstring& text, UINT codePage, bool* lossy = nullptr) {
  BOOL usedDefault = FALSE;
  BOOL* flag = codePage == CP_UTF8 ? nullptr : &usedDefault;
  int size = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, flag);
  std::string converted(size, '\0');
  WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), &converted[0], size, nullptr, flag);
  if (lossy != nullptr) *lossy = usedDefault != FALSE;
  return converted;
}
std::string Utf8(const std::wstring& text) { return Convert(text, CP_UTF8); }

std::wstring Expanded(const std::wstring& text) {
  DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  std::wstring expanded(size, L'\0');
  size = ExpandEnvironmentStringsW(text.c_str(), &expanded[0], size);
  expanded.resize(size ? size - 1 : 0);
  return expanded;
}

// A path without a folder names a file in the user's add-ins folder, where
// Excel keeps the add-ins the Add-In Manager lists.
std::wstring InAddInsFolder(const std::wstring& path) {
  if (path.find_first_of(L"\\/:") != std::wstring::npos) return path;
  wchar_t* roaming = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &roaming))) return path;
  std::wstring full = std::wstring(roaming) + L"\\Microsoft\\AddIns\\" + path;
  CoTaskMemFree(roaming);
  return full;
}

bool EndsWith(const std::wstring& text, const wchar_t* suffix) {
  size_t length = wcslen(suffix);
  return text.size() >= length &&
         CompareStringOrdinal(text.c_str() + text.size() - length, static_cast<int>(length), suffix,
                              static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

std::vector<setup::RegValue> OptionsValues(const std::string& key, bool* found) {
  std::vector<setup::RegValue> values;
  HKEY options;
  *found = RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &options) == ERROR_SUCCESS;
  if (!*found) return values;
  wchar_t name[16384];
  std::vector<BYTE> data(1 << 16);
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384, size = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueW(options, i, name, &length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    values.push_back({std::wstring(name, length), type, {data.begin(), data.begin() + size}});
  }
  RegCloseKey(options);
  return values;
}

// What Excel does with one entry of its list: true when it opens an XLL.
bool ReadEntry(const setup::RegValue& value, Listed* listed) {
  std::wstring text = setup::ValueText(value);
  if (value.type == setup::kRegExpandSz) text = Expanded(text);
  std::string name = Utf8(value.name);
  Say("Excel reads %s: %s\n", name, Utf8(text));
  setup::Entry entry = setup::ParseEntry(text);
  if (value.type != setup::kRegSz && value.type != setup::kRegExpandSz) {
    Unusable(name + " is not a string value, so xllhost cannot tell what Excel makes of it");
    return false;
  }
  if (!entry.closed || entry.path.empty()) {
    Unusable(name + " holds " + Utf8(text) +
             (entry.closed ? ", which names no file" : ", whose path has no closing quote") +
             ", so xllhost cannot tell what Excel would open");
    return false;
  }
  std::wstring path = InAddInsFolder(entry.path);
  if (EndsWith(path, L".xla") || EndsWith(path, L".xlam")) {
    Say("  %s is an add-in workbook, which xllhost does not model: skipped\n", Utf8(path));
    return false;
  }
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Problem(name + ": Excel cannot find " + Utf8(path));
    return false;
  }
  bool lossy = false;
  listed->name = name;
  listed->path = Convert(path, CP_ACP, &lossy);
  if (lossy) {
    Unusable(name + ": the path " + Utf8(path) + " has characters that the ANSI code page xllhost loads through lacks");
    return false;
  }
  std::string why = WhyNotAnAddIn(listed->path);
  if (!why.empty()) Problem(name + ": " + Utf8(path) + " " + why + ", so Excel cannot open it");
  return why.empty();
}

// The add-ins Excel opens, in its order. Entries after the first missing
// number are never read by Excel: each is named as such.
std::vector<Listed> ReadList(const std::string& version) {
  std::string key = "Software\\Microsoft\\Office\\" + version + "\\Excel\\Options";
  bool found = false;
  std::vector<setup::RegValue> values = OptionsValues(key, &found);
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
      Problem(Utf8(value.name) + " holds " + Utf8(setup::ValueText(value)) + ", but Excel stops reading at the missing " +
              Utf8(setup::EntryName(gap)) + " and never opens it");
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
      Problem(listed.name + ": Excel cannot load " + listed.path + " (error " + std::to_string(GetLastError()) + ")");
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
