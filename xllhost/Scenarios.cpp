#include "Scenarios.h"

#include "AddIn.h"
#include "Host.h"
#include "Transcript.h"

namespace xllhost {

enum class Step {
  Load,
  HandOverExcel12,
  Open,
  Add,
  AskName,
  Calculate,
  Remove,
  Close,
  UnregisterLeftovers,
  Unload,
  CalculateAfterwards,
};

struct Scenario {
  const char* name;
  const char* host;  // who plays the host in the transcript
  const char* story;
  std::vector<Step> steps;
};

namespace {

// The order of each session, kept here and nowhere else. It follows
// Microsoft's reference pages of the entries: xlAutoOpen runs whenever the
// add-in is activated, at start-up too; xlAutoAdd only when the user ticks it
// in the Add-In Manager; xlAutoRemove only when the user unticks it, never at
// exit; xlAutoClose whenever it is deactivated, and after xlAutoClose Excel
// itself unregisters what the add-in left registered. The reference does not
// say whether xlAutoAdd comes before or after xlAutoOpen: xllhost calls
// xlAutoOpen first, so that xlAutoAdd finds the add-in's functions registered.
// SetExcel12EntryPt is not among the entries the reference lists for Excel
// to call, so desktop Excel is taken never to call it: only the cluster
// scenario, a host outside Excel, hands its Excel12 entry over.
using S = Step;
const Scenario Scenarios[] = {
    {"manager",
     "Excel",
     "the user ticks the add-in in the Add-In Manager, uses it and unticks it",
     {S::Load, S::Open, S::Add, S::AskName, S::Calculate, S::Remove, S::Close, S::UnregisterLeftovers, S::Unload,
      S::CalculateAfterwards}},
    {"startup",
     "Excel",
     "Excel starts with the add-in active from the last session, uses it and exits",
     {S::Load, S::Open, S::Calculate, S::Close, S::UnregisterLeftovers, S::Unload}},
    {"cluster",
     "The host",
     "a host that runs XLLs outside Excel hands over its Excel12 entry, uses the add-in and ends",
     {S::Load, S::HandOverExcel12, S::Open, S::Calculate, S::Close, S::UnregisterLeftovers, S::Unload}},
};

std::vector<std::string> RegisteredFormulas(HMODULE module) {
  std::vector<std::string> formulas;
  for (const Registration& r : Registrations())
    if (r.module == module && !r.functionText.empty()) formulas.push_back("=" + r.functionText + "()");
  return formulas;
}

// Each formula has its own cell, A1, A2, ... While the add-in is open, a
// call of a function it never registered is a formula xllhost cannot judge.
void Calculate(const std::vector<std::string>& formulas, const SessionOptions* expecting) {
  for (size_t row = 0; row < formulas.size(); ++row) {
    const std::string& formula = formulas[row];
    std::string name;
    if (expecting != nullptr && IsFormulaCall(formula, &name) && !IsDefinedName(name))
      Unusable("the cell " + formula + " calls " + name + ", which the add-in has not registered");
    Value value = Evaluate(formula, static_cast<int>(row));
    std::string shown = Display(value);
    // A cell shows an array's top-left element; the transcript shows the whole.
    std::string whole = value.Is(xltypeMulti) ? " (top-left of " + Shown(value) + ")" : "";
    Say("  cell A%s %s shows %s%s\n", std::to_string(row + 1), formula,
        Shown(value.Is(xltypeMulti) && !value.elements.empty() ? value.elements[0] : value), whole);
    if (expecting == nullptr) continue;
    for (const auto& [expected, wanted] : expecting->expectations)
      if (expected == formula && shown != wanted)
        Problem("cell " + formula + " shows " + shown + ", expected " + wanted);
  }
}

void AskName(const AddIn& addIn, const SessionOptions& options) {
  if (addIn.addInManagerInfo == nullptr && addIn.addInManagerInfo12 == nullptr) {
    if (options.checkTitle) Problem("the add-in exports neither xlAddInManagerInfo nor xlAddInManagerInfo12");
    return;
  }
  const std::pair<const char*, XLOPER> requests[] = {{"the number 1", NumberRequest(1.0)},
                                                     {"the integer 1", IntegerRequest(1)}};
  for (const auto& [label, request] : requests) {
    Value answer = AskAddInManager(addIn, request);
    Say("Add-In Manager asks %swith %s: shows %s\n",
        std::string(addIn.addInManagerInfo12 != nullptr ? "xlAddInManagerInfo12 " : ""), std::string(label),
        Shown(answer));
    if (options.checkTitle && Display(answer) != options.title)
      Problem("the Add-In Manager shows " + Display(answer) + ", expected " + options.title);
  }
}

void CallEntry(const Scenario& scenario, const char* entry, bool exported, int (*call)(const AddIn&),
               const AddIn& addIn) {
  if (!exported) return;
  Say("%s calls %s()\n", std::string(scenario.host), std::string(entry));
  CheckEntry(entry, call(addIn));
  CheckStringsGivenBack((std::string("after ") + entry).c_str());
}

// After the user removed the add-in, nothing of it may stay registered or named.
void CheckTakenBack(const AddIn& addIn, const std::vector<std::string>& formulas) {
  for (const Registration& r : Registrations())
    if (r.module == addIn.module) Problem("still registered after removal: " + r.procedure);
  for (const std::string& formula : formulas) {
    std::string name;
    if (IsFormulaCall(formula, &name) && IsDefinedName(name)) Problem("name still defined after removal: " + formula);
  }
}

}  // namespace

const Scenario* FindScenario(const std::string& name) {
  for (const Scenario& scenario : Scenarios)
    if (name == scenario.name) return &scenario;
  return nullptr;
}

std::string ScenarioList() {
  std::string list;
  for (const Scenario& scenario : Scenarios) list += std::string("  ") + scenario.name + ": " + scenario.story + "\n";
  return list;
}

int Play(const Scenario& scenario, const SessionOptions& options) {
  OnCall(PrintCall);
  Say("Scenario %s: %s\n", std::string(scenario.name), std::string(scenario.story));
  Say("Host: %s (%s)\n", options.addIn,
      std::string(ExportedMdCallBack12() != nullptr ? "this host exports MdCallBack12"
                                                    : "this host exports no MdCallBack12"));
  AddIn addIn;
  std::vector<std::string> formulas = options.formulas;
  bool removed = false;
  for (Step step : scenario.steps) {
    switch (step) {
      case Step::Load:
        addIn = Load(options.addIn);
        if (addIn.module == nullptr) {
          std::fprintf(stderr, "xllhost: cannot load %s (error %lu)\n", options.addIn.c_str(), GetLastError());
          return 2;
        }
        Say("%s loads the add-in\n", std::string(scenario.host));
        break;
      case Step::HandOverExcel12:
        if (addIn.setExcel12EntryPt == nullptr) break;
        Say("%s calls SetExcel12EntryPt(host's Excel12 entry)\n", std::string(scenario.host));
        HandOverExcel12(addIn);
        break;
      case Step::Open: CallEntry(scenario, "xlAutoOpen", addIn.autoOpen != nullptr, Open, addIn); break;
      case Step::Add: CallEntry(scenario, "xlAutoAdd", addIn.autoAdd != nullptr, Add, addIn); break;
      case Step::AskName: AskName(addIn, options); break;
      case Step::Calculate:
        if (formulas.empty()) formulas = RegisteredFormulas(addIn.module);
        Calculate(formulas, &options);
        break;
      case Step::Remove:
        removed = addIn.autoRemove != nullptr;
        CallEntry(scenario, "xlAutoRemove", removed, xllhost::Remove, addIn);
        break;
      case Step::Close:
        CallEntry(scenario, "xlAutoClose", addIn.autoClose != nullptr, xllhost::Close, addIn);
        if (removed) CheckTakenBack(addIn, formulas);
        break;
      case Step::UnregisterLeftovers:
        for (const Registration& r : UnregisterLeftovers(addIn))
          Say("%s unregisters %s, which the add-in left registered\n", std::string(scenario.host),
              r.functionText.empty() ? r.procedure : "=" + r.functionText + "() (" + r.procedure + ")");
        break;
      case Step::Unload:
        Unload(addIn);
        Say("%s unloads the add-in\n", std::string(scenario.host));
        CheckStringsGivenBack("at unload");
        break;
      case Step::CalculateAfterwards: Calculate(formulas, nullptr); break;
    }
  }
  for (const std::string& fault : Faults()) Problem(fault);

  if (!UnusableInput().empty()) {
    for (const std::string& why : UnusableInput()) {
      std::printf("  CANNOT INTERPRET: %s\n", why.c_str());
      std::fprintf(stderr, "xllhost: %s\n", why.c_str());
    }
    std::printf("Session not judged: xllhost met what it cannot interpret.\n");
    return 2;
  }
  if (ProblemCount() == 0) {
    std::printf("Session clean: the add-in behaved as a host expects.\n");
    return 0;
  }
  std::printf("Session FAILED: %d problem(s).\n", ProblemCount());
  return 1;
}

}  // namespace xllhost
