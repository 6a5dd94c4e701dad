#include "OptionsKeys.h"

#include <cwctype>

#include "WindowsText.h"

namespace setup {

namespace {

const wchar_t kOffice[] = L"Software\\Microsoft\\Office";

std::wstring Failure(const wchar_t* what, const std::wstring& key, LONG status) {
  return std::wstring(what) + L" HKCU\\" + key + L" (Windows error " + std::to_wstring(status) + L")";
}

// Office versions are named like 16.0: digits, a dot, digits.
bool IsVersion(const std::wstring& name) {
  size_t dot = name.find(L'.');
  if (dot == 0 || dot == std::wstring::npos || dot + 1 == name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (i != dot && !std::iswdigit(name[i])) return false;
  }
  return true;
}

std::vector<std::wstring> VersionsPresent() {
  std::vector<std::wstring> versions;
  HKEY office;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kOffice, 0, KEY_ENUMERATE_SUB_KEYS, &office) != ERROR_SUCCESS) return versions;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    LONG status = RegEnumKeyExW(office, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_SUCCESS && IsVersion(name)) versions.emplace_back(name, length);
  }
  RegCloseKey(office);
  return versions;
}

// Opens HKCU\<path>, making each missing key on the way and noting it.
LONG CreatePath(const std::wstring& path, OptionsKey& key) {
  HKEY parent = HKEY_CURRENT_USER;
  std::wstring sofar;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    sofar = path.substr(0, end);
    HKEY child;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExW(parent, path.substr(start, end - start).c_str(), 0, nullptr, 0,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &child, &disposition);
    if (parent != HKEY_CURRENT_USER) RegCloseKey(parent);
    if (status != ERROR_SUCCESS) return status;
    if (disposition == REG_CREATED_NEW_KEY) key.created.push_back(sofar);
    parent = child;
    start = end + 1;
  }
  key.handle = parent;
  return ERROR_SUCCESS;
}

void DeleteCreated(OptionsKey& key, bool& ok) {
  if (key.handle) RegCloseKey(key.handle);
  key.handle = nullptr;
  for (auto it = key.created.rbegin(); it != key.created.rend(); ++it) {
    if (RegDeleteKeyW(HKEY_CURRENT_USER, it->c_str()) != ERROR_SUCCESS) ok = false;
  }
  key.created.clear();
}

}  // namespace

bool ReadValues(HKEY key, std::vector<RegValue>& values) {
  values.clear();
  DWORD count = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName, &longestData,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::vector<wchar_t> name(longestName + 1);
  std::vector<unsigned char> data(longestData + 1);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
    LONG status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
    if (status == ERROR_NO_MORE_ITEMS) return true;
    if (status != ERROR_SUCCESS) return false;  // changed while read: Excel is not running, so nothing should
    values.push_back({std::wstring(name.data(), nameLength), type, {data.begin(), data.begin() + dataSize}});
  }
}

bool OpenOptionsKeys(bool create, std::vector<OptionsKey>& keys, std::wstring& error) {
  std::vector<std::wstring> versions = VersionsPresent();
  bool has16 = false;
  for (const std::wstring& version : versions) has16 = has16 || version == L"16.0";
  // 16.0 is Excel 2016 and every later Excel, Microsoft 365 included.
  if (create && !has16) versions.push_back(L"16.0");
  for (const std::wstring& version : versions) {
    OptionsKey key;
    key.version = version;
    key.path = std::wstring(kOffice) + L"\\" + version + L"\\Excel\\Options";
    LONG status = create ? CreatePath(key.path, key)
                         : RegOpenKeyExW(HKEY_CURRENT_USER, key.path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                         &key.handle);
    if (status == ERROR_FILE_NOT_FOUND && !create) continue;
    if (status == ERROR_SUCCESS && !ReadValues(key.handle, key.snapshot)) {
      RegCloseKey(key.handle);  // an incomplete snapshot must never be written back
      status = ERROR_READ_FAULT;
    }
    if (status != ERROR_SUCCESS) key.handle = nullptr;
    keys.push_back(key);
    if (status != ERROR_SUCCESS) {
      error = Failure(L"cannot open", key.path, status);
      Restore(keys);
      Close(keys);
      return false;
    }
  }
  return true;
}

bool WriteValues(OptionsKey& key, const std::vector<RegValue>& values, std::wstring& error) {
  std::vector<RegValue> now;
  if (!ReadValues(key.handle, now)) {
    error = Failure(L"cannot read", key.path, ERROR_READ_FAULT);
    return false;
  }
  for (const RegValue& value : values) {
    bool same = false;
    for (const RegValue& old : now) {
      if (SameText(old.name, value.name)) same = old.type == value.type && old.data == value.data;
    }
    if (same) continue;
    LONG status = RegSetValueExW(key.handle, value.name.c_str(), 0, value.type, value.data.data(),
                                 static_cast<DWORD>(value.data.size()));
    if (status != ERROR_SUCCESS) {
      error = Failure(L"cannot write to", key.path, status);
      return false;
    }
  }
  for (const RegValue& old : now) {
    bool kept = false;
    for (const RegValue& value : values) kept = kept || SameText(old.name, value.name);
    if (kept) continue;
    LONG status = RegDeleteValueW(key.handle, old.name.c_str());
    if (status != ERROR_SUCCESS) {
      error = Failure(L"cannot delete a value of", key.path, status);
      return false;
    }
  }
  return true;
}

bool Restore(std::vector<OptionsKey>& keys) {
  bool ok = true;
  for (OptionsKey& key : keys) {
    std::wstring ignored;
    if (key.handle && !WriteValues(key, key.snapshot, ignored)) ok = false;
    DeleteCreated(key, ok);
  }
  return ok;
}

void Close(std::vector<OptionsKey>& keys) {
  for (OptionsKey& key : keys) {
    if (key.handle) RegCloseKey(key.handle);
    key.handle = nullptr;
  }
}

}  // namespace setup
