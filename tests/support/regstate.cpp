// regstate: sets up and reads back registry keys for the installer tests,
// exactly: every value with its type and bytes.
//
//   regstate load FILE    makes the keys and values FILE lists
//   regstate dump KEY FILE  lists KEY and everything under it into FILE
//   regstate clear KEY    deletes KEY and everything under it
//
// One run may do several, in order: "regstate dump KEY FILE load FILE".
//
// FILE holds UTF-8 lines: a key alone ("HKCU\Software\X"), a key after a
// minus ("-HKCU\Software\X": delete it and everything under it), or a key,
// a value name, a type and the data, separated by tabs. The type is sz, expand_sz or
// a number; the data is text (a string and its NUL) or "hex:" and its bytes.
// A dump writes text only where that gives back the very same bytes.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                  static_cast<int>(wide.size())));
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  std::string text(wide.size() * 4, '\0');
  text.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                  static_cast<int>(text.size()), nullptr, nullptr));
  return text;
}

// The root and the rest of "HKCU\..." or "HKLM\..."; HKLM keys are in the 64-bit view.
HKEY Root(const std::wstring& key, std::wstring& rest, REGSAM& view) {
  rest = key.substr(5);
  view = 0;
  if (key.compare(0, 5, L"HKLM\\") == 0) {
    view = KEY_WOW64_64KEY;
    return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CURRENT_USER;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos && fields.size() < 3; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

// Deletes the key and everything under it; a key already gone is no failure.
int Clear(const std::wstring& path) {
  std::wstring rest;
  REGSAM view = 0;
  HKEY root = Root(path, rest, view), key;
  LONG status = RegOpenKeyExW(root, rest.c_str(), 0, KEY_ALL_ACCESS | view, &key);
  if (status == ERROR_FILE_NOT_FOUND) return 0;
  if (status == ERROR_SUCCESS) status = RegDeleteTreeW(key, nullptr);
  RegCloseKey(key);
  if (status == ERROR_SUCCESS) status = RegDeleteKeyExW(root, rest.c_str(), view, 0);
  return status == ERROR_SUCCESS ? 0 : 1;
}

int Load(const char* file) {
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '-') {
      if (Clear(Wide(line.substr(1))) != 0) return 1;
      continue;
    }
    std::vector<std::string> f = Split(line);
    std::wstring rest;
    REGSAM view;
    HKEY root = Root(Wide(f[0]), rest, view);
    HKEY key;
    if (RegCreateKeyExW(root, rest.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr)) return 1;
    if (f.size() == 4) {
      DWORD type = f[2] == "sz" ? REG_SZ : f[2] == "expand_sz" ? REG_EXPAND_SZ : std::stoul(f[2]);
      std::string bytes;
      if (f[3].compare(0, 4, "hex:") == 0) {
        for (size_t i = 4; i + 1 < f[3].size(); i += 2) bytes.push_back(static_cast<char>(std::stoi(f[3].substr(i, 2), nullptr, 16)));
      } else {
        std::wstring text = Wide(f[3]);
        bytes.assign(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
      }
      if (RegSetValueExW(key, Wide(f[1]).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()))) {
        return 1;
      }
    }
    RegCloseKey(key);
  }
  return 0;
}

std::string Data(DWORD type, const std::vector<BYTE>& data) {
  if ((type == REG_SZ || type == REG_EXPAND_SZ) && data.size() >= 2 && data.size() % 2 == 0) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2 - 1);
    if (data[data.size() - 1] == 0 && data[data.size() - 2] == 0 && text.find_first_of(L"\0\t\r\n", 0, 4) == std::wstring::npos) {
      return Utf8(text);
    }
  }
  std::string hex = "hex:";
  for (BYTE b : data) {
    hex += "0123456789abcdef"[b >> 4];
    hex += "0123456789abcdef"[b & 15];
  }
  return hex;
}

void Dump(HKEY root, REGSAM view, const std::wstring& path, const std::string& shown, std::ofstream& out) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key)) return;
  out << shown << "\n";
  wchar_t name[16384];
  std::vector<BYTE> data(1 << 16);
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384, size = static_cast<DWORD>(data.size()), type;
    if (RegEnumValueW(key, i, name, &length, nullptr, &type, data.data(), &size)) break;
    const char* types[] = {"0", "sz", "expand_sz"};
    out << shown << "\t" << Utf8(std::wstring(name, length)) << "\t" << (type < 3 ? types[type] : std::to_string(type))
        << "\t" << Data(type, {data.begin(), data.begin() + size}) << "\n";
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)) break;
    std::wstring sub(name, length);
    Dump(root, view, path + L"\\" + sub, shown + "\\" + Utf8(sub), out);
  }
  RegCloseKey(key);
}

}  // namespace

// Runs its commands in order, "dump KEY FILE", "load FILE" and "clear KEY",
// as many as given, so that one process does a test case's work; the status
// is the first that is not 0.
int main() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args(argv + 1, argv + count);
  int status = 0;
  for (size_t at = 0; at < args.size();) {
    const std::wstring& command = args[at];
    const size_t operands = command == L"dump" ? 2 : command == L"load" || command == L"clear" ? 1 : 0;
    if (operands == 0 || at + operands >= args.size()) return 2;
    int done = 0;
    if (command == L"load") {
      done = Load(Utf8(args[at + 1]).c_str());
    } else if (command == L"clear") {
      done = Clear(args[at + 1]);
    } else {
      std::wstring rest;
      REGSAM view = 0;
      std::ofstream out(Utf8(args[at + 2]).c_str(), std::ios::binary);
      Dump(Root(args[at + 1], rest, view), view, rest, Utf8(args[at + 1]), out);
      done = out ? 0 : 1;
    }
    if (status == 0) status = done;
    at += operands + 1;
  }
  return args.empty() ? 2 : status;
}
