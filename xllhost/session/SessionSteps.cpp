#include "session/SessionSteps.h"

#include <algorithm>
#include <cstdio>

#include "callbacks/Callbacks.h"
#include "engine/Calculation.h"
#include "functions/AddInsHost.h"
#include "functions/Information.h"
#include "functions/Registrations.h"
#include "functions/Worksheet.h"
#include "native/Dialogs.h"
#include "session/CalculationEnd.h"
#include "session/Transcript.h"
#include "state/HostMemory.h"
#include "state/Modules.h"
#include "workbook/CellsText.h"

namespace xllhost {

void Transcribe() {
  OnCall(PrintCall);
  OnUnusable(CannotInterpret);
  OnFloatingPointLeft([](const std::string& change) {
    Say("    The add-in returned with the floating-point environment changed: ", change,
        "; xllhost sets Excel's again\n");
  });
}

namespace {

int ChosenButton = 0;

int AnswerDialog(const Dialog& dialog) {
  std::string buttons;
  int answer = GoOnButton(dialog);
  for (int button : dialog.buttons) {
    buttons += (buttons.empty() ? "" : ", ") + std::string(ButtonName(button));
    if (button == ChosenButton) answer = button;
  }
  Problem("a dialog came through " + dialog.api + " while " + HostMemoryTaker() + " ran, titled " +
          Shown(TextValue(dialog.title)) + ", saying " + Shown(TextValue(dialog.text)) + ", with " + buttons +
          ": in Excel it waits until a person answers; xllhost answered " + ButtonName(answer));
  std::fflush(stdout);
  return answer;
}

}  // namespace

bool CatchDialogsAnswering(int button) {
  ChosenButton = button;
  return CatchDialogs(AnswerDialog);
}

void SayHost(const std::string& what) {
  Say("Host: ", what, " (",
      ExportedMdCallBack12() != nullptr ? "this host exports MdCallBack12" : "this host exports no MdCallBack12", ")\n");
}

void CheckEntries(const AddIn& addIn) {
  const bool none = !addIn.autoOpen && !addIn.autoClose && !addIn.autoAdd && !addIn.autoRemove &&
                    !addIn.addInManagerInfo && !addIn.addInManagerInfo12 && !addIn.setExcel12EntryPt;
  if (none && addIn.decoratedOnly.empty())
    Unusable(addIn.path + " is not an Excel add-in: it exports none of the entries Excel calls (xlAutoOpen, ...)");
  for (const AddIn::Decorated& entry : addIn.decoratedOnly)
    Problem("Excel will not find " + entry.plain + ": the add-in exports it only as " + entry.decorated +
            ", so xllhost does not call it either");
}

std::vector<SessionFormula> GivenFormulas(const SessionOptions& options) {
  std::vector<SessionFormula> formulas;
  for (size_t row = 0; row < options.formulas.size(); ++row) {
    const Cell* cell = Book().Find(0, static_cast<int>(row), options.formulaColumn);
    const Expr& top = cell->formula->formula.root;  // every formula given was read
    formulas.push_back(SessionFormula{options.formulas[row], top.kind == ExprKind::Call ? top.name : ""});
  }
  return formulas;
}

std::vector<SessionFormula> RegisteredFormulas(HMODULE module) {
  std::vector<SessionFormula> formulas;
  for (const Registration* r : Registrations())
    if (r->module == module && !r->functionText.empty())
      formulas.push_back(SessionFormula{"=" + r->functionText + "()", r->functionText});
  return formulas;
}

namespace {

std::string LabelOf(const FormulaCell& cell) {
  return "cell " + CellLabel(cell.sheet, cell.row, cell.column) + " " + std::string(cell.text);
}

}  // namespace

void EnterFormulas(const std::vector<SessionFormula>& formulas, const SessionOptions& options) {
  Workbook& book = Book();
  std::string why;
  for (size_t row = 0; row < formulas.size(); ++row)
    book.SetFormula(0, static_cast<int>(row), options.formulaColumn, formulas[row].text, nullptr, &why);
  // Each a name a registration gave, in a cell of its own: read and placed.
  book.Finish(&why);
}

int CalculationThreads(const SessionOptions& options) {
  if (options.threads > 0) return options.threads;
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return static_cast<int>(std::max<DWORD>(system.dwNumberOfProcessors, 1));
}

CellTranscripts::CellTranscripts(int threads) : held_(threads > 1 ? Book().Formulas().size() : 0) {}

void CellTranscripts::Begin(const FormulaCell& cell, int thread) {
  HoldTranscript(thread == 0 ? nullptr : &held_[static_cast<size_t>(&cell - Book().Formulas().data())]);
}

void CellTranscripts::Turn(const FormulaCell& cell, int thread) {
  HoldTranscript(nullptr);
  if (thread != 0) SayHeld(held_[static_cast<size_t>(&cell - Book().Formulas().data())], ThreadName(thread));
}

void CalculateCells(const std::vector<SessionFormula>& formulas, const SessionOptions& options,
                    const SessionOptions* expecting, bool unknownIsUnusable) {
  for (const SessionFormula& formula : formulas) {
    std::string name;
    if (unknownIsUnusable && IsAddInCall(formula.call, &name) && !IsDefinedName(name))
      Unusable("the cell " + formula.text + " calls " + name + ", which the add-in has not registered");
  }
  const int threads = CalculationThreads(options);
  CellTranscripts transcripts(threads);
  CalculationSteps steps;
  steps.before = [&](const FormulaCell& cell, int thread) {
    transcripts.Begin(cell, thread);
    ChargeHostMemoryTo(LabelOf(cell));
  };
  steps.after = [&](const FormulaCell& cell, const Evaluated& answer, const CellRole&, int thread) {
    transcripts.Turn(cell, thread);
    const std::string label = LabelOf(cell);
    if (!answer.notCalculated.empty()) {
      Unusable(label + " is not calculated: " + answer.notCalculated);
      CheckHostMemoryGivenBack("before it answered", &label);
      return;
    }
    const Value& value = answer.value;
    std::string shown = Display(value);
    // A cell shows an array's top-left element; the transcript shows the whole.
    std::string whole = value.Is(xltypeMulti) ? " (top-left of " + Shown(value) + ")" : "";
    Say("  ", label, " shows ", Shown(value.Is(xltypeMulti) && !value.elements.empty() ? value.elements[0] : value),
        whole, thread != 0 ? ", calculated on the " + ThreadName(thread) : "", "\n");
    CheckHostMemoryGivenBack("before it answered", &label);
    CheckCounts(value, label);
    if (expecting == nullptr) return;
    for (const auto& [expected, wanted] : expecting->expectations)
      if (expected == cell.text && shown != wanted) Problem("cell " + expected + " shows " + shown + ", expected " + wanted);
  };
  CalculateBook(Book(), AddInsHost(threads), false, steps, threads);
  EndCalculation();
}

std::vector<std::string> AskName(const AddIn& addIn, const std::string* title) {
  std::vector<std::string> shown;
  if (addIn.addInManagerInfo == nullptr && addIn.addInManagerInfo12 == nullptr) return shown;
  const std::pair<const char*, XLOPER> requests[] = {{"the number 1", NumberRequest(1.0)},
                                                     {"the integer 1", IntegerRequest(1)}};
  const bool wide = addIn.addInManagerInfo12 != nullptr;
  const std::string entry = wide ? "xlAddInManagerInfo12" : "xlAddInManagerInfo";
  for (const auto& [label, request] : requests) {
    ChargeHostMemoryTo(entry);
    Value answer = AskAddInManager(addIn, request);
    CheckHostMemoryGivenBack("before it answered");
    Say("Add-In Manager asks ", wide ? entry + " " : std::string(), "with ", label, ": shows ", Shown(answer), "\n");
    CheckCounts(answer, entry);
    shown.push_back(Display(answer));
    if (title != nullptr && shown.back() != *title)
      Problem("the Add-In Manager shows " + shown.back() + ", expected " + *title);
  }
  return shown;
}

void CallAddInEntry(const char* host, const char* entry, bool exported, int (*call)(const AddIn&), const AddIn& addIn) {
  if (!exported) return;
  Say(host, " calls ", entry, "()\n");
  ChargeHostMemoryTo(entry);
  CheckEntry(entry, call(addIn));
  CheckHostMemoryGivenBack("before it returned");
}

void CheckTakenBack(const std::vector<SessionFormula>& formulas) {
  for (const SessionFormula& formula : formulas) {
    std::string name;
    if (IsAddInCall(formula.call, &name) && IsDefinedName(name))
      Problem("name still defined after removal: " + formula.text);
  }
}

void TakeBackLeftovers(const char* host, const AddIn& addIn) {
  for (const Registration& r : UnregisterLeftovers(addIn))
    Say(host, " unregisters ", r.functionText.empty() ? r.procedure : "=" + r.functionText + "() (" + r.procedure + ")",
        ", which the add-in left registered\n");
}

void UnloadAndCheck(const char* host, AddIn& addIn) {
  ChargeHostMemoryTo("DllMain");
  const HMODULE module = addIn.module;
  Unload(addIn);
  Say(host, " unloads the add-in\n");
  if (!IsLoadedModule(module) && StaysMapped(module))
    Say("  The add-in stays loaded after ", host,
        "'s last FreeLibrary: another load of it is held, so its DllMain runs only when the process exits, where no "
        "call into ", host, " is accepted\n");
  CheckHostMemoryGivenBack("at unload");
}

}  // namespace xllhost
