// QuorrelSetup: installs the Tavik Add-In for the current user, or removes
// it, through the registry API. install.cmd and uninstall.cmd run it.
//
// Exit status: 0 done or nothing to do, 1 failed (and every key put back),
// 2 bad usage, 3 refused because Excel runs. Nothing changes on 2 or 3.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "InstalledFile.h"
#include "Console.h"
#include "Excel.h"
#include "OptionsKeys.h"
#include "StartupList.h"

using namespace setup;

namespace {

enum Status { kDone = 0, kFailed = 1, kUsage = 2, kExcelRuns = 3 };

// The scripts pass the command first, so the usage a user sees names the
// script they typed.
const wchar_t kInstallUsage[] = L"usage: install.cmd [32|64] | install.cmd --help";
const wchar_t kUninstallUsage[] = L"usage: uninstall.cmd | uninstall.cmd --help";

int Help() {
  for (const wchar_t* line : {
           kInstallUsage,
           kUninstallUsage,
           L"",
           L"  install.cmd       copies the build that suits the installed Excel to",
           L"                    Microsoft\\AddIns\\Quorrel.xll in the roaming application-data",
           L"                    folder Windows names for this user, and adds it to the add-ins",
           L"                    Excel opens at start-up (OPEN, OPEN1, ... under",
           L"                    HKCU\\Software\\Microsoft\\Office\\<version>\\Excel\\Options).",
           L"  install.cmd 32    the same for 32-bit Excel; install.cmd 64 for 64-bit Excel.",
           L"  uninstall.cmd     removes those entries, moves the entries after each down by one,",
           L"                    and deletes the file.",
           L"",
           L"Every other add-in's entry keeps its exact type and bytes. Each command first",
           L"saves every value it may change and puts them back on any failure.",
           L"Exit status: 0 done or nothing to do, 1 failed (the registry is as it was),",
           L"2 bad usage, 3 Excel is running (nothing was changed).",
       }) {
    Say(line);
  }
  return kDone;
}

// A usage error, in one line: what was wrong, then how the command is used.
int Usage(const std::wstring& wrong, const wchar_t* usage) {
  Say(wrong + L"; nothing was changed. " + usage);
  return kUsage;
}

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH * 4];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring own(path, length);
  return own.substr(0, own.find_last_of(L'\\') + 1);
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

IsOurs OursAt(const std::wstring& installed) {
  return [installed](const RegValue& value) {
    return (value.type == REG_SZ || value.type == REG_EXPAND_SZ) &&
           NamesInstalledFile(ParseEntry(ValueText(value)).path, installed);
  };
}

// Ends a failed command: every key back as its snapshot, in one line that says so.
int Fail(const wchar_t* me, const std::wstring& why, std::vector<OptionsKey>& keys, const wchar_t* file) {
  bool restored = Restore(keys);
  Close(keys);
  Say(std::wstring(me) + why + (restored ? L"; Excel's start-up list is as it was" : L"; PUTTING BACK Excel's start-up list FAILED too") + file);
  return kFailed;
}

bool RefuseWhileExcelRuns(const wchar_t* me, const wchar_t* script) {
  if (!ExcelRuns()) return false;
  Say(std::wstring(me) + L"Excel is running: close every Excel window and run " + script +
      L" again (Excel rewrites its list of start-up add-ins when it exits); nothing was changed.");
  return true;
}

ExcelWidth AskWidth() {
  for (;;) {
    std::wstring answer;
    if (!Ask(L"Is your Excel 32-bit or 64-bit (File > Account > About Excel)? Type 32 or 64: ", answer)) return {};
    if (answer == L"32" || answer == L"64") return {answer == L"32" ? 32 : 64, L"as you said"};
    Say(L"install: \"" + answer + L"\" is neither 32 nor 64.");
  }
}

int Install(int askedBits) {
  const wchar_t* me = L"install: ";
  if (RefuseWhileExcelRuns(me, L"install.cmd")) return kExcelRuns;
  ExcelWidth width = askedBits ? ExcelWidth{askedBits, L"as asked"} : FindExcelWidth();
  if (!width.bits) width = AskWidth();
  if (!width.bits) {
    Say(L"install: no answer: run \"install.cmd 32\" or \"install.cmd 64\"; nothing was changed.");
    return kFailed;
  }
  std::wstring build = L"Quorrel" + std::to_wstring(width.bits) + L".xll";
  std::wstring source = OwnFolder() + build;
  if (!FileExists(source)) {
    Say(L"install: \"" + source + L"\" is missing: extract the whole zip and run install.cmd from there; nothing was changed.");
    return kFailed;
  }
  std::wstring installed = InstalledPath();
  if (installed.empty()) {
    Say(L"install: Windows does not name this user's application-data folder; nothing was changed.");
    return kFailed;
  }
  Say(L"install: Excel is " + std::to_wstring(width.bits) + L"-bit (" + width.why + L"), so " + build + L" suits it.");

  std::vector<OptionsKey> keys;
  std::wstring error;
  if (!OpenOptionsKeys(true, keys, error)) return Fail(me, error, keys, L"; nothing was copied.");
  if (!CopyInto(source, installed, error)) return Fail(me, error, keys, L"; nothing was copied.");
  Say(L"install: copied it to \"" + installed + L"\".");
  switch (RemoveDownloadMark(installed)) {
    case Mark::None: Say(L"install: the copy carries no mark of a download."); break;
    case Mark::Removed: Say(L"install: removed the mark of a download from the copy."); break;
    case Mark::Kept:
      Say(L"install: cannot remove the mark of a download from the copy: if Excel blocks it, open the file's "
          L"Properties and tick Unblock.");
      break;
  }
  std::vector<std::wstring> said;
  for (OptionsKey& key : keys) {
    Added added = AddEntry(key.snapshot, L"/R \"" + installed + L"\"", OursAt(installed));
    if (!added.already && !WriteValues(key, added.values, error)) {
      return Fail(me, error, keys, L"; the copied file stays.");
    }
    said.push_back(L"install: Excel " + key.version + (added.already ? L" already opens" : L" opens") +
                   L" it at start-up (" + added.name + L").");
  }
  Close(keys);
  for (const std::wstring& line : said) Say(line);
  Say(L"install: done. Start Excel and type =TavikFnc() in a cell: it shows Tavik World.");
  return kDone;
}

int Uninstall() {
  const wchar_t* me = L"uninstall: ";
  if (RefuseWhileExcelRuns(me, L"uninstall.cmd")) return kExcelRuns;
  std::wstring installed = InstalledPath();
  if (installed.empty()) {
    Say(L"uninstall: Windows does not name this user's application-data folder; nothing was changed.");
    return kFailed;
  }
  std::vector<OptionsKey> keys;
  std::wstring error;
  if (!OpenOptionsKeys(false, keys, error)) return Fail(me, error, keys, L".");
  std::vector<std::wstring> said;
  for (OptionsKey& key : keys) {
    Removed removed = RemoveEntries(key.snapshot, OursAt(installed));
    if (removed.names.empty()) continue;
    if (!WriteValues(key, removed.values, error)) return Fail(me, error, keys, L"; the file stays.");
    for (const std::wstring& name : removed.names) {
      said.push_back(L"uninstall: Excel " + key.version + L" no longer opens it at start-up (" + name + L").");
    }
    if (removed.moved) {
      said.push_back(L"uninstall: Excel " + key.version + L": the entries after it moved down by one (" +
                     std::to_wstring(removed.moved) + L").");
    }
  }
  bool present = GetFileAttributesW(installed.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (present && !DeleteInstalled(installed, error)) return Fail(me, error, keys, L"; the file stays.");
  Close(keys);
  if (present) said.push_back(L"uninstall: deleted \"" + installed + L"\".");
  for (const std::wstring& line : said) Say(line);
  Say(said.empty() ? L"uninstall: the add-in was not installed; nothing to do." : L"uninstall: done.");
  return kDone;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args(argv + 1, argv + count);
  LocalFree(argv);
  auto isHelp = [](const std::wstring& arg) { return arg == L"--help" || arg == L"/?" || arg == L"-h"; };
  if (args.size() == 1 && isHelp(args[0])) return Help();
  if (args.empty()) return Usage(L"QuorrelSetup: no command (install.cmd and uninstall.cmd give one)", kInstallUsage);
  if (args[0] == L"install") {
    if (args.size() == 1) return Install(0);
    if (args.size() > 2) return Usage(L"install: \"" + args[2] + L"\" is one argument too many", kInstallUsage);
    if (isHelp(args[1])) return Help();
    if (args[1] == L"32" || args[1] == L"64") return Install(args[1] == L"32" ? 32 : 64);
    return Usage(L"install: " + args[1] + L" is not 32 or 64", kInstallUsage);
  }
  if (args[0] == L"uninstall") {
    if (args.size() == 1) return Uninstall();
    if (args.size() == 2 && isHelp(args[1])) return Help();
    return Usage(L"uninstall: \"" + args[1] + L"\" is not for uninstall.cmd, which takes no argument", kUninstallUsage);
  }
  return Usage(L"QuorrelSetup: \"" + args[0] + L"\" is neither install nor uninstall", kInstallUsage);
}
