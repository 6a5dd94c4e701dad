#include "Excel.h"

#include <windows.h>
#include <tlhelp32.h>

#include "WindowsText.h"

namespace setup {

namespace {

std::wstring ReadMachineText(const wchar_t* subkey, const wchar_t* name, REGSAM view) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return {};
  wchar_t text[64] = {};
  DWORD size = sizeof text - sizeof(wchar_t), type = 0;
  LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  return std::wstring(text, size / sizeof(wchar_t)).c_str();
}

// The width a Platform or Bitness value names. Office on Windows on ARM
// (arm64) loads x64 add-ins.
int BitsOf(const std::wstring& value) {
  if (SameText(value, L"x86")) return 32;
  if (SameText(value, L"x64") || SameText(value, L"arm64")) return 64;
  return 0;
}

}  // namespace

ExcelWidth FindExcelWidth() {
  struct Source {
    const wchar_t* key;
    const wchar_t* value;
    const wchar_t* what;
  };
  static const Source sources[] = {
      {L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration", L"Platform", L"Click-to-Run Platform"},
      {L"SOFTWARE\\Microsoft\\Office\\16.0\\Outlook", L"Bitness", L"Office 16.0 Bitness"},
      {L"SOFTWARE\\Microsoft\\Office\\15.0\\Outlook", L"Bitness", L"Office 15.0 Bitness"},
      {L"SOFTWARE\\Microsoft\\Office\\14.0\\Outlook", L"Bitness", L"Office 14.0 Bitness"},
  };
  for (const Source& source : sources) {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      std::wstring value = ReadMachineText(source.key, source.value, view);
      if (int bits = BitsOf(value)) return {bits, std::wstring(source.what) + L" " + value};
    }
  }
  SYSTEM_INFO system;
  GetNativeSystemInfo(&system);
  if (system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL) return {32, L"Windows is 32-bit"};
  return {};
}

bool ExcelRuns() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W process;
  process.dwSize = sizeof process;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &process); more && !found; more = Process32NextW(snapshot, &process)) {
    found = SameText(process.szExeFile, L"EXCEL.EXE");
  }
  CloseHandle(snapshot);
  return found;
}

}  // namespace setup
