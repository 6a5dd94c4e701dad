#include "app/CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/Files.h"
#include "native/Dialogs.h"
#include "session/Scenarios.h"
#include "session/Transcript.h"
#include "workbook/CellsText.h"

namespace xllhost {
namespace {

const char Usage[] =
    "Usage: xllhost [options] ADDIN.xll\n"
    "       xllhost --from-registry [--office-version V] [options]\n"
    "\n"
    "Plays Excel's side for an XLL add-in, outside Excel, in one of the sessions\n"
    "Excel runs (the scenario). Prints each entry the host calls, each call the\n"
    "add-in makes into the host with its arguments and answer, and what each\n"
    "cell shows, then a verdict.\n"
    "\n"
    "Options:\n"
    "  --scenario NAME       the session to play (default: manager):\n"
    "%s"
    "  --formulas FILE       the formulas of a file, one a line, as --formula each\n"
    "                        (for formulas too long for a command line)\n"
    "  --formula F           a cell to calculate, as Excel writes formulas, such as\n"
    "                        =Add(1,2), =Greet(\"a \"\"b\"\"\"), =Sum({1,2;3,4}) or\n"
    "                        =Add(A1,B1)*2; may repeat, each in its own cell A1,\n"
    "                        A2, ... of the first column right of every --cell.\n"
    "                        Default: =NAME() for every function the add-in\n"
    "                        registers.\n"
    "  --cell A1=V           a cell holding V: a number, \"text\", TRUE, #N/A, or\n"
    "                        a formula (B1==A1*2); may repeat\n"
    "  --cells FILE          the cells of a file in xllhost's text form of cells\n"
    "                        (docs/xllhost.md), calculated as --formula cells\n"
    "  --workbook FILE       a workbook Excel calculated, in the text form of cells\n"
    "                        (scripts/xllhost converts .xlsx and .xlsm): its cells\n"
    "                        that call the add-in are recalculated and compared\n"
    "                        with what Excel saved; any that differs is a problem\n"
    "  --all-cells           with --workbook, recalculate and compare every formula\n"
    "                        cell, not only those an add-in reaches; the add-in\n"
    "                        may then be left out\n"
    "  --threads N           calculate the cells whose functions are all registered\n"
    "                        thread-safe ($) on N threads at once, the main one\n"
    "                        among them (default: one per processor)\n"
    "  --check-threads       call each function registered thread-safe ($) that the\n"
    "                        cells called from several threads at once, many times,\n"
    "                        and compare every answer with the one it gave alone\n"
    "  --report FILE         with --workbook, the comparison as JSON\n"
    "  --junit FILE          with --workbook, a JUnit test case per cell\n"
    "  --tolerance REL       with --workbook, the relative difference numbers may\n"
    "                        have (default: equal to 15 significant digits)\n"
    "  --timeout SECONDS     how long loading the add-in, each entry and each\n"
    "                        cell may run before xllhost ends the run with\n"
    "                        status 3, saying where the add-in is (default: 60)\n"
    "  --dialog-answer B     the button a message box of the add-in is answered\n"
    "                        with, where it offers B (default: Ignore, else OK,\n"
    "                        else Cancel, else No); every box is a problem\n"
    "  --expect-title TEXT   the Add-In Manager must show TEXT\n"
    "  --expect F VALUE      while the add-in is open, the cell F must show VALUE\n"
    "  --quiet               print only problems and the verdict\n"
    "  --from-registry       play Excel's start-up with the add-ins its start-up\n"
    "                        list names: the values OPEN, OPEN1, ... of\n"
    "                        HKCU\\Software\\Microsoft\\Office\\V\\Excel\\Options, in\n"
    "                        order, up to the first missing number\n"
    "  --office-version V    the version whose list to read (default: 16.0)\n"
    "  --help                show this text\n"
    "\n"
    "Exit status: 0 when the session is clean; 1 when the add-in misbehaves (an\n"
    "expectation not met, a workbook cell that differs from what Excel saved, a\n"
    "host call that fails or comes when Excel refuses calls, an entry answering\n"
    "other than 1, a host string not given back or given back twice, an argument\n"
    "changed in place that its type text does not allow, a name left defined\n"
    "after the user removed it); 2 when the command line cannot be used, the file\n"
    "is no add-in this host can load, or the session met what xllhost cannot\n"
    "interpret (a type text or record it does not know, a host function it does\n"
    "not provide, a cell calling a function the add-in did not register); 3 when\n"
    "the process crashed.\n";

}  // namespace

void PrintUsage(FILE* to) { std::fprintf(to, Usage, ScenarioList().c_str()); }


namespace {

// Appends the formulas of a file, one a line, for formulas too long for a
// command line; empty lines are skipped. False when the file cannot be read.
bool ReadFormulas(const std::string& file, std::vector<std::string>& formulas) {
  std::ifstream in(std::filesystem::u8path(file), std::ios::binary);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) formulas.push_back(line);
  }
  return true;
}

}  // namespace

namespace {

// The whole text as a number; false when it is none.
bool ReadNumber(const char* text, double& number) {
  char* end = nullptr;
  number = std::strtod(text, &end);
  return *text != '\0' && *end == '\0';
}

// An option that takes one value, given it: false when `arg` is none such;
// `wrong` says why the value cannot be used.
bool ReadValued(const std::string& arg, const char* value, CommandLine& line, std::string& wrong) {
  SessionOptions& options = line.options;
  if (arg == "--scenario") {
    line.scenarioName = value;
    line.scenarioGiven = true;
  } else if (arg == "--office-version") {
    line.officeVersion = value;
  } else if (arg == "--formula") {
    options.formulas.push_back(value);
  } else if (arg == "--formulas") {
    if (!ReadFormulas(value, options.formulas)) wrong = std::string("cannot read the formulas file ") + value;
  } else if (arg == "--cell") {
    options.cells.push_back(value);
  } else if (arg == "--cells") {
    if (!ReadFile(value, line.cellsText)) wrong = std::string("cannot read the cells file ") + value;
    line.cellsFile = value;
  } else if (arg == "--workbook") {
    line.workbookFile = value;
  } else if (arg == "--threads") {
    char* end = nullptr;
    const long threads = std::strtol(value, &end, 10);
    if (*value == '\0' || *end != '\0' || threads < 1 || threads > 1024)
      wrong = std::string("--threads takes a number of threads from 1 to 1024, not ") + value;
    options.threads = static_cast<int>(threads);
  } else if (arg == "--report") {
    options.report = value;
  } else if (arg == "--junit") {
    options.junit = value;
  } else if (arg == "--tolerance") {
    if (!ReadNumber(value, options.tolerance) || !(options.tolerance >= 0 && options.tolerance < 1))
      wrong = std::string("--tolerance takes a relative difference from 0 to 1, such as 1e-9, not ") + value;
  } else if (arg == "--timeout") {
    if (!ReadNumber(value, line.timeout) || !(line.timeout > 0 && line.timeout <= 86400))
      wrong = std::string("--timeout takes seconds from 0 to 86400, such as 60, not ") + value;
  } else if (arg == "--dialog-answer") {
    line.dialogAnswer = ButtonNamed(value);
    if (line.dialogAnswer == 0)
      wrong = std::string("--dialog-answer takes a button: OK, Cancel, Abort, Retry, Ignore, Yes, No, \"Try Again\" or "
                          "Continue, not ") + value;
  } else if (arg == "--expect-title") {
    options.checkTitle = true;
    options.title = value;
  } else {
    return false;
  }
  return true;
}

// An option that takes no value: false when `arg` is none such.
bool ReadFlag(const std::string& arg, CommandLine& line) {
  if (arg == "--help" || arg == "-h") {
    line.help = true;
  } else if (arg == "--quiet") {
    SetQuiet(true);
  } else if (arg == "--from-registry") {
    line.fromRegistry = true;
  } else if (arg == "--all-cells") {
    line.options.allCells = true;
  } else if (arg == "--check-threads") {
    line.options.checkThreads = true;
  } else {
    return false;
  }
  return true;
}

// What the whole command line lacks, once each argument was read.
std::string Missing(int argc, char** argv, const CommandLine& line) {
  const SessionOptions& options = line.options;
  // A value left out of the last --expect takes the add-in's path as what the cell must show.
  if (line.path.empty() && !line.fromRegistry && !options.expectations.empty() &&
      std::string(argv[argc - 1]) == options.expectations.back().second)
    return "--expect " + options.expectations.back().first + " needs what the cell must show (\"" +
           options.expectations.back().second + "\" was taken for it, so no add-in is left)";
  if (line.path.empty() && !line.fromRegistry && !(options.allCells && !line.workbookFile.empty()))
    return "no add-in given";
  if (!line.path.empty() && line.fromRegistry) return "--from-registry reads the add-ins from the registry: give no file";
  return "";
}

}  // namespace

std::string ReadCommandLine(int argc, char** argv, CommandLine& line) {
  // The options that take values, and how many.
  const std::pair<const char*, int> valued[] = {
      {"--scenario", 1}, {"--office-version", 1}, {"--formula", 1}, {"--formulas", 1}, {"--expect-title", 1},
      {"--expect", 2},   {"--cell", 1},           {"--cells", 1},   {"--workbook", 1}, {"--report", 1},
      {"--junit", 1},    {"--tolerance", 1},      {"--timeout", 1}, {"--dialog-answer", 1},
      {"--threads", 1}};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    for (const auto& [option, count] : valued)
      if (arg == option && i + count >= argc)
        return arg + " needs " + (count == 1 ? "a value" : "a formula and what it must show");
    std::string wrong;
    if (ReadFlag(arg, line)) continue;
    if (i + 1 < argc && ReadValued(arg, argv[i + 1], line, wrong)) {
      if (!wrong.empty()) return wrong;
      ++i;
    } else if (arg == "--expect") {
      std::vector<std::string>& formulas = line.options.formulas;
      line.options.expectations.emplace_back(argv[i + 1], argv[i + 2]);
      if (std::find(formulas.begin(), formulas.end(), argv[i + 1]) == formulas.end()) formulas.push_back(argv[i + 1]);
      i += 2;
    } else if (arg.rfind("-", 0) == 0) {
      return "no option " + arg;
    } else if (arg.empty()) {
      return "the add-in's path is empty";
    } else if (!line.path.empty()) {
      return "one add-in at a time: " + line.path + " and " + arg;
    } else {
      line.path = arg;
    }
  }
  return line.help ? "" : Missing(argc, argv, line);
}

}  // namespace xllhost
