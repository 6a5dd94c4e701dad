// xllhost: runs an XLL add-in through one Excel session and prints a transcript.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/CellsGiven.h"
#include "app/CommandLine.h"
#include "functions/AsyncCalls.h"
#include "native/AddInFile.h"
#include "native/CrashReport.h"
#include "native/Watchdog.h"
#include "records/Values.h"
#include "session/Oracle.h"
#include "session/RegistryStartup.h"
#include "session/Scenarios.h"
#include "state/FloatingPoint.h"

namespace {

int Refuse(const std::string& why) {
  std::fflush(stdout);  // the transcript before the message, as it was printed
  std::fprintf(stderr, "xllhost: %s\n", why.c_str());
  return 2;
}

// Why the add-in's path cannot be used, or an empty text; `fullPath` receives it.
std::string CheckPath(const std::string& path, std::string& fullPath) {
  const std::string tooLong = "the path " + path + " is longer than MAX_PATH (260 characters)";
  const std::wstring wide = xllhost::ToWide(path);
  if (wide.size() >= MAX_PATH) return tooLong;
  wchar_t full[MAX_PATH];
  DWORD length = GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
  if (length == 0) return "cannot resolve the path " + path;
  if (length >= MAX_PATH) return tooLong;
  fullPath = xllhost::FromWide(full);
  // xlGetName hands the path over as a counted string.
  if (length > 255) return "the path " + fullPath + " is longer than the 255 characters xlGetName can answer";
  std::string why = xllhost::WhyNotAnAddIn(fullPath);
  return why.empty() ? why : fullPath + " " + why;
}

// The arguments in UTF-8, as the program keeps every text, read from the
// wide command line: the narrow one holds only what the ANSI code page can.
std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 0; i < argc; ++i)
    arguments.push_back(wide != nullptr && count == argc ? xllhost::FromWide(wide[i]) : xllhost::FromBytes(argv[i]));
  LocalFree(wide);
  return arguments;
}

int Run(int argc, char** argv) {
  xllhost::CommandLine line;
  std::vector<std::string> arguments = Arguments(argc, argv);
  std::vector<char*> texts;
  for (std::string& argument : arguments) texts.push_back(argument.data());
  std::string wrong = xllhost::ReadCommandLine(argc, texts.data(), line);
  if (!wrong.empty()) return Refuse(wrong + "; see --help");
  if (line.help) {
    xllhost::PrintUsage(stdout);
    return 0;
  }
  if (line.fromRegistry && line.scenarioGiven && line.scenarioName != "startup")
    return Refuse("--from-registry plays Excel's start-up: it takes no scenario but startup");
  if (line.officeVersion.find_first_not_of("0123456789.") != std::string::npos || line.officeVersion.find('.') == 0)
    return Refuse("--office-version takes a version such as 16.0, not " + line.officeVersion);
  const xllhost::Scenario* scenario = xllhost::FindScenario(line.scenarioName);
  if (scenario == nullptr)
    return Refuse("no scenario \"" + line.scenarioName + "\"; there are:\n" + xllhost::ScenarioList());
  xllhost::StartWatchdog(line.timeout);
  xllhost::SetAnswerWait(line.timeout);
  const std::string wrongCells = xllhost::ReadCellsGiven(line);
  if (!wrongCells.empty()) return Refuse(wrongCells);
  if (line.path.empty() && !line.fromRegistry) return xllhost::CompareWorkbookAlone(line.options);
  if (!line.fromRegistry) {
    std::string why = CheckPath(line.path, line.options.addIn);
    if (!why.empty()) return Refuse(why);
  }
  // Only a run that loads add-ins loads user32.dll, to catch their message boxes.
  if (!xllhost::CatchDialogsAnswering(line.dialogAnswer)) return Refuse("cannot catch the add-in's message boxes");
  if (line.fromRegistry) return xllhost::PlayStartupFromRegistry(line.officeVersion, line.options);
  return xllhost::Play(*scenario, line.options);
}

}  // namespace

// The process ends without destroying the host's state, so that an add-in
// still loaded, whose DllMain runs now, meets a host that is whole.
int main(int argc, char** argv) {
  xllhost::ExitOnCrash();
  xllhost::SetFloatingPoint(xllhost::ExcelFloatingPoint);
  const int status = Run(argc, argv);
  xllhost::StopWatchdog();
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(status));
}
