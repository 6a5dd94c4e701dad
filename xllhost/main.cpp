// xllhost: runs an XLL add-in through one Excel session and prints a transcript.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "XllHost.h"

namespace {

const char Usage[] =
    "Usage: xllhost [options] ADDIN.xll\n"
    "\n"
    "Plays Excel's side for an XLL add-in, outside Excel: loads it, hands over the\n"
    "Excel12 entry, opens it (xlAutoOpen), asks the Add-In Manager for its name,\n"
    "calculates cells, removes it (xlAutoRemove), calculates the cells again and\n"
    "unloads it. Prints each entry the host calls, each call the add-in makes\n"
    "into the host with its arguments and answer, and what each cell shows.\n"
    "\n"
    "Options:\n"
    "  --formula F           a cell to calculate, such as =TavikFnc(); may repeat.\n"
    "                        Default: =NAME() for every function the add-in registers.\n"
    "  --expect-title TEXT   the Add-In Manager must show TEXT\n"
    "  --expect F VALUE      while the add-in is open, the cell F must show VALUE\n"
    "  --quiet               print only problems and the verdict\n"
    "  --help                show this text\n"
    "\n"
    "The add-in misbehaves, and the exit status is 1, when an expectation is not\n"
    "met, a host call fails, an entry answers other than 1, a host string is not\n"
    "given back or given back twice, or a function stays registered after\n"
    "removal. A command line that cannot be used, or an add-in that cannot be\n"
    "loaded, gives 2.\n";

struct Options {
  std::string addIn;
  std::vector<std::string> formulas;
  std::vector<std::pair<std::string, std::string>> expectations;
  bool checkTitle = false;
  std::string title;
  bool quiet = false;
};

bool Quiet = false;
std::vector<std::string> Problems;

template <typename... Args>
void Say(const char* format, const Args&... args) {
  if (!Quiet) std::printf(format, args.c_str()...);
}

void Problem(const std::string& text) {
  Problems.push_back(text);
  std::printf("  PROBLEM: %s\n", text.c_str());
}

std::string Shown(const xllhost::Value& value) {
  std::string shown = xllhost::Display(value);
  return (value.xltype & ~xlbitXLFree & ~xlbitDLLFree) == xltypeStr ? "\"" + shown + "\"" : shown;
}

std::string ReturnCodeName(int code) {
  switch (code) {
    case xlretSuccess: return "ok";
    case xlretInvXlfn: return "unknown function (2)";
    case xlretInvCount: return "bad count (4)";
    case xlretInvXloper: return "wrong record type (8)";
    case xlretFailed: return "failed (32)";
    default: return "code " + std::to_string(code);
  }
}

void PrintCall(const xllhost::HostCall& call) {
  std::string args;
  for (const xllhost::Value& arg : call.args) args += (args.empty() ? "" : ", ") + Shown(arg);
  std::string answer = ReturnCodeName(call.returnCode);
  if (call.hadResult) answer += ", result " + Shown(call.result);
  Say("    add-in calls %s -> %s\n", xllhost::FunctionName(call.xlfn) + "(" + args + ")", answer);
  if (call.returnCode != xlretSuccess) Problem(xllhost::FunctionName(call.xlfn) + " failed: " + answer);
}

void CheckEntry(const char* entry, int answer) {
  Say("    %s answers %s\n", std::string(entry), std::to_string(answer));
  if (answer != 1) Problem(std::string(entry) + " answered " + std::to_string(answer) + ", not 1");
}

void CheckStringsGivenBack(const char* when) {
  if (xllhost::OutstandingStrings() != 0)
    Problem(std::to_string(xllhost::OutstandingStrings()) + " host string(s) not given back " + when);
}

std::vector<std::string> RegisteredFormulas(HMODULE module) {
  std::vector<std::string> formulas;
  for (const xllhost::Registration& r : xllhost::Registrations())
    if (r.module == module && !r.functionText.empty()) formulas.push_back("=" + r.functionText + "()");
  return formulas;
}

void Calculate(const std::vector<std::string>& formulas, bool open, const Options& options) {
  for (const std::string& formula : formulas) {
    xllhost::Value value = xllhost::Evaluate(formula);
    std::string shown = xllhost::Display(value);
    Say("  cell %s shows %s\n", formula, Shown(value));
    for (const auto& [expected, value] : options.expectations)
      if (open && expected == formula && shown != value)
        Problem("cell " + formula + " shows " + shown + ", expected " + value);
  }
}

int Session(const Options& options) {
  char fullPath[MAX_PATH];
  GetFullPathNameA(options.addIn.c_str(), MAX_PATH, fullPath, nullptr);
  xllhost::OnCall(PrintCall);

  Say("Host: %s (%s)\n", std::string(fullPath),
      std::string(xllhost::ExportedMdCallBack12() != nullptr ? "this host exports MdCallBack12"
                                                             : "this host exports no MdCallBack12"));
  xllhost::AddIn addIn = xllhost::Load(fullPath);
  if (addIn.module == nullptr) {
    std::fflush(stdout);
    std::fprintf(stderr, "xllhost: cannot load %s (error %lu)\n", fullPath, GetLastError());
    return 2;
  }
  Say("Excel loads the add-in\n");

  if (addIn.setExcel12EntryPt != nullptr) {
    Say("Excel calls SetExcel12EntryPt(host's Excel12 entry)\n");
    xllhost::HandOverExcel12(addIn);
  }
  if (addIn.autoOpen != nullptr) {
    Say("Excel calls xlAutoOpen()\n");
    CheckEntry("xlAutoOpen", xllhost::Open(addIn));
    CheckStringsGivenBack("after xlAutoOpen");
  }

  if (addIn.addInManagerInfo != nullptr) {
    const std::pair<const char*, XLOPER> requests[] = {{"the number 1", xllhost::NumberRequest(1.0)},
                                                       {"the integer 1", xllhost::IntegerRequest(1)}};
    for (const auto& [label, request] : requests) {
      xllhost::Value answer = xllhost::AskAddInManager(addIn, request);
      std::string title = xllhost::Display(answer);
      Say("Add-In Manager asks with %s: shows %s\n", std::string(label), Shown(answer));
      if (options.checkTitle && title != options.title)
        Problem("the Add-In Manager shows " + title + ", expected " + options.title);
    }
  }

  std::vector<std::string> formulas = options.formulas.empty() ? RegisteredFormulas(addIn.module) : options.formulas;
  Calculate(formulas, true, options);

  if (addIn.autoRemove != nullptr) {
    Say("Excel calls xlAutoRemove()\n");
    CheckEntry("xlAutoRemove", xllhost::Remove(addIn));
    CheckStringsGivenBack("after xlAutoRemove");
    for (const xllhost::Registration& r : xllhost::Registrations())
      if (r.module == addIn.module) Problem("still registered after removal: " + r.procedure);
    for (const std::string& formula : formulas)
      if (xllhost::IsDefinedName(formula.substr(1, formula.size() - 3)))
        Problem("name still defined after removal: " + formula);
  }
  Calculate(formulas, false, options);

  if (addIn.autoClose != nullptr) {
    Say("Excel calls xlAutoClose()\n");
    CheckEntry("xlAutoClose", addIn.autoClose());
  }
  xllhost::Unload(addIn);
  Say("Excel unloads the add-in\n");
  CheckStringsGivenBack("at unload");
  for (const std::string& fault : xllhost::Faults()) Problem(fault);

  if (Problems.empty()) {
    std::printf("Session clean: the add-in behaved as a host expects.\n");
    return 0;
  }
  std::printf("Session FAILED: %zu problem(s).\n", Problems.size());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  xllhost::ExitOnCrash();
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(Usage, stdout);
      return 0;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--formula" && i + 1 < argc) {
      options.formulas.push_back(argv[++i]);
    } else if (arg == "--expect-title" && i + 1 < argc) {
      options.checkTitle = true;
      options.title = argv[++i];
    } else if (arg == "--expect" && i + 2 < argc) {
      options.expectations.emplace_back(argv[i + 1], argv[i + 2]);
      if (std::find(options.formulas.begin(), options.formulas.end(), argv[i + 1]) == options.formulas.end())
        options.formulas.push_back(argv[i + 1]);
      i += 2;
    } else if (arg.rfind("--", 0) != 0 && options.addIn.empty()) {
      options.addIn = arg;
    } else {
      std::fputs(Usage, stderr);
      return 2;
    }
  }
  if (options.addIn.empty()) {
    std::fputs(Usage, stderr);
    return 2;
  }
  Quiet = options.quiet;
  return Session(options);
}
