#include "Scenarios.h"

#include "AddIn.h"
#include "AddInFile.h"
#include "SessionSteps.h"
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
  SayHost(options.addIn);
  AddIn addIn;
  std::vector<std::string> formulas = options.formulas;
  bool removed = false;
  for (Step step : scenario.steps) {
    switch (step) {
      case Step::Load:
        addIn = Load(options.addIn);
        if (addIn.module == nullptr) {
          std::fflush(stdout);  // the transcript before the message, as it was printed
          std::fprintf(stderr, "xllhost: cannot load %s: %s\n", options.addIn.c_str(),
                       WhyNotLoaded(options.addIn, addIn.loadError).c_str());
          return 2;
        }
        Say("%s loads the add-in\n", std::string(scenario.host));
        CheckEntries(addIn);
        break;
      case Step::HandOverExcel12:
        if (addIn.setExcel12EntryPt == nullptr) break;
        Say("%s calls SetExcel12EntryPt(host's Excel12 entry)\n", std::string(scenario.host));
        HandOverExcel12(addIn);
        break;
      case Step::Open: CallAddInEntry(scenario.host, "xlAutoOpen", addIn.autoOpen != nullptr, Open, addIn); break;
      case Step::Add: CallAddInEntry(scenario.host, "xlAutoAdd", addIn.autoAdd != nullptr, Add, addIn); break;
      case Step::AskName:
        if (addIn.addInManagerInfo == nullptr && addIn.addInManagerInfo12 == nullptr) {
          if (options.checkTitle) Problem("the add-in exports neither xlAddInManagerInfo nor xlAddInManagerInfo12");
          break;
        }
        AskName(addIn, options.checkTitle ? &options.title : nullptr);
        break;
      case Step::Calculate:
        if (formulas.empty()) formulas = RegisteredFormulas(addIn.module);
        CalculateCells(formulas, &options, true);
        break;
      case Step::Remove:
        removed = addIn.autoRemove != nullptr;
        CallAddInEntry(scenario.host, "xlAutoRemove", removed, xllhost::Remove, addIn);
        break;
      case Step::Close:
        CallAddInEntry(scenario.host, "xlAutoClose", addIn.autoClose != nullptr, xllhost::Close, addIn);
        if (removed) CheckTakenBack(formulas);
        break;
      case Step::UnregisterLeftovers: TakeBackLeftovers(scenario.host, addIn); break;
      case Step::Unload: UnloadAndCheck(scenario.host, addIn); break;
      case Step::CalculateAfterwards: CalculateCells(formulas, nullptr, false); break;
    }
  }
  return Verdict();
}

}  // namespace xllhost
