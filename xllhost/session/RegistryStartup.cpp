#include "session/RegistryStartup.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>

#include "native/AddInFile.h"
#include "readers/StartupEntry.h"
#include "session/Transcript.h"

namespace xllhost {

namespace {

// One value of the Options key as stored.
struct RegistryValue {
  std::string name;
  DWORD type = REG_NONE;
  std::wstring text;  // for a string, up to its first NUL
};

std::vector<RegistryValue> OptionsValues(const std::wstring& key, bool* found) {
  std::vector<RegistryValue> values;
  HKEY options;
  *found = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &options) == ERROR_SUCCESS;
  if (!*found) return values;
  DWORD longestName = 0, longestData = 0;
  RegQueryInfoKeyW(options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                   &longestData, nullptr, nullptr);
  for (DWORD index = 0;; ++index) {
    std::wstring name(longestName + 1, L'\0');
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    DWORD nameLength = static_cast<DWORD>(name.size()), size = longestData, type = REG_NONE;
    if (RegEnumValueW(options, index, &name[0], &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
      break;
    RegistryValue value;
    value.name = FromWide(name.substr(0, nameLength));
    value.type = type;
    for (DWORD at = 0; at + 1 < size; at += 2) {
      const wchar_t c = static_cast<wchar_t>(data[at] | (data[at + 1] << 8));
      if (c == 0) break;
      value.text.push_back(c);
    }
    values.push_back(value);
  }
  RegCloseKey(options);
  return values;
}

std::wstring Expanded(const std::wstring& text) {
  DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::wstring expanded(size, L'\0');
  size = ExpandEnvironmentStringsW(text.c_str(), &expanded[0], size);
  expanded.resize(size > 0 ? size - 1 : 0);
  return expanded;
}

// Excel keeps the add-ins the Add-In Manager lists in the user's add-ins
// folder, and looks there for a file named without one.
std::wstring InAddInsFolder(const std::wstring& file) {
  wchar_t* roaming = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DONT_VERIFY, nullptr, &roaming))) return file;
  std::wstring path = std::wstring(roaming) + L"\\Microsoft\\AddIns\\" + file;
  CoTaskMemFree(roaming);
  return path;
}

bool EndsWithText(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && Upper(text.substr(text.size() - suffix.size())) == Upper(suffix);
}

// What Excel does with one entry of its list: true when it opens an XLL.
bool ReadEntry(const RegistryValue& value, Listed* listed) {
  const std::wstring text = value.type == REG_EXPAND_SZ ? Expanded(value.text) : value.text;
  const std::string& name = value.name;
  Say("Excel reads ", name, ": ", FromWide(text), "\n");
  if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) {
    Unusable(name + " is not a string value, so xllhost cannot tell what Excel makes of it");
    return false;
  }
  const StartupEntry entry = ReadStartupEntry(FromWide(text));
  if (!entry.wrong.empty()) {
    Unusable(name + " holds " + FromWide(text) + ", " + entry.wrong + ", so xllhost cannot tell what Excel would open");
    return false;
  }
  const std::wstring path = IsBareFileName(entry.path) ? InAddInsFolder(ToWide(entry.path)) : ToWide(entry.path);
  if (EndsWithText(entry.path, ".xla") || EndsWithText(entry.path, ".xlam")) {
    Say("  ", FromWide(path), " is an add-in workbook, which xllhost does not model: skipped\n");
    return false;
  }
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Problem(name + ": Excel cannot find " + FromWide(path));
    return false;
  }
  listed->entry = name;
  listed->path = FromWide(path);  // loaded by its wide name, whatever the ANSI code page holds
  std::string why = WhyNotAnAddIn(listed->path);
  if (!why.empty()) Problem(name + ": " + FromWide(path) + " " + why + ", so Excel cannot open it");
  return why.empty();
}

// The add-ins Excel opens, in its order. Entries after the first missing
// number are never read by Excel: each is named as such.
std::vector<Listed> ReadList(const std::string& version) {
  bool found = false;
  const std::vector<RegistryValue> values =
      OptionsValues(ToWide("Software\\Microsoft\\Office\\" + version + "\\Excel\\Options"), &found);
  if (!found) Say("Excel ", version, " has no Options key, so it opens no add-in at start-up\n");
  auto at = [&values](int index) {
    return std::find_if(values.begin(), values.end(),
                        [index](const RegistryValue& v) { return StartupIndex(v.name) == index; });
  };
  std::vector<Listed> list;
  int gap = 0;
  for (; at(gap) != values.end(); ++gap) {
    Listed listed;
    if (ReadEntry(*at(gap), &listed)) list.push_back(listed);
  }
  const std::string missing = gap == 0 ? "OPEN" : "OPEN" + std::to_string(gap);
  for (const RegistryValue& value : values) {
    if (StartupIndex(value.name) > gap)
      Problem(value.name + " holds " + FromWide(value.text) + ", but Excel stops reading at the missing " + missing +
              " and never opens it");
  }
  return list;
}

}  // namespace

int PlayStartupFromRegistry(const std::string& officeVersion, const SessionOptions& options) {
  Transcribe();
  Say("Scenario startup from the registry: Excel ", officeVersion,
      " starts, opens the add-ins its start-up list names, uses them and exits\n");
  SayHost("HKCU\\Software\\Microsoft\\Office\\" + officeVersion + "\\Excel\\Options");
  return PlayListed(*FindScenario("startup"), options, ReadList(officeVersion));
}

}  // namespace xllhost
