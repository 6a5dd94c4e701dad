// The steps every session is made of: calling an entry, asking the Add-In
// Manager, calculating cells, checking what a removal left, and the verdict.
#pragma once

#include <string>
#include <vector>

#include <utility>

#include "session/AddIn.h"
#include "session/Transcript.h"
#include "session/Verdict.h"
#include "workbook/Workbook.h"

namespace xllhost {

struct SessionOptions {
  std::string addIn;                  // full path
  std::vector<std::string> formulas;  // empty: =NAME() for each function the add-in registers
  std::vector<std::string> cells;     // --cell: A1=2, B1==A1*2, each in the formulas' workbook
  // The formulas' cells: each in its row of the first column right of every
  // cell given; the command line reads cells and formulas into the host's
  // workbook once.
  int formulaColumn = 0;
  // A workbook given whole (--workbook), already in the host's state: its
  // add-in cells are recalculated and compared with what Excel saved.
  bool workbook = false;
  bool allCells = false;      // every formula cell of the workbook, not only the add-ins'
  bool checkThreads = false;  // the thread check of each function registered thread-safe (ThreadCheck.h)
  // The threads that calculate the thread-safe cells, the calling one among
  // them (CalculateBook); 0: as many as the machine has processors.
  int threads = 0;
  std::string report, junit;  // files for the comparison, in JSON and JUnit XML; empty: none
  double tolerance = 0;       // the relative difference numbers may have; 0: 15 significant digits
  std::vector<std::pair<std::string, std::string>> expectations;  // formula, what its cell must show
  bool checkTitle = false;
  std::string title;
};

// From now on the transcript shows every call the add-in makes into the
// host, and input xllhost cannot interpret where it is met.
void Transcribe();

// From now on a message box the add-in shows is a problem, told with its
// title, text and buttons and what ran, and answered with `button` where it
// offers it, else with the one that lets the work go on. False when the
// boxes cannot be caught.
bool CatchDialogsAnswering(int button);

// The transcript's line on who plays the host: `what`, and whether this
// host's executable exports MdCallBack12.
void SayHost(const std::string& what);

// An entry the add-in exports only with a stdcall decoration is one Excel
// never finds: each is a problem, and the host does not call it. A DLL that
// exports none of the entries Excel calls is no add-in the host can judge.
void CheckEntries(const AddIn& addIn);

// A formula the session calculates, as written, and the function its top
// calls as written ("" when its top is no call), read once when it entered.
struct SessionFormula {
  std::string text;
  std::string call;
};

// The formulas of the command line, read where they stand in the host's workbook.
std::vector<SessionFormula> GivenFormulas(const SessionOptions& options);
// =NAME() for each function the module registered.
std::vector<SessionFormula> RegisteredFormulas(HMODULE module);
// Writes formulas xllhost made into their cells of the host's workbook.
void EnterFormulas(const std::vector<SessionFormula>& formulas, const SessionOptions& options);

// Calculates the host's workbook, where each formula has its own cell, A1,
// A2, ..., of the first column right of every --cell, in order. With
// `expecting`, what the cells show is checked against its expectations. With
// `unknownIsUnusable`, a call of a function nobody registered is input
// xllhost cannot judge; without it, the cell shows #NAME?, as a worksheet does.
void CalculateCells(const std::vector<SessionFormula>& formulas, const SessionOptions& options,
                    const SessionOptions* expecting, bool unknownIsUnusable);

// The threads to calculate on: the option's, or one per processor.
int CalculationThreads(const SessionOptions& options);

// What each cell's steps share when cells are calculated on several
// threads: what a cell calculated ahead of its turn said, held until its
// turn, and the problems it raised counted then, as with one thread.
class CellTranscripts {
 public:
  // For the host's workbook, calculated on `threads` threads.
  explicit CellTranscripts(int threads);
  // On the thread that calculates the cell (CalculationSteps::before).
  void Begin(const FormulaCell& cell, int thread);
  // On the calling thread, in the cell's turn: says what was held.
  void Turn(const FormulaCell& cell, int thread);

 private:
  std::vector<HeldTranscript> held_;
};


// What the Add-In Manager shows for the add-in, asked with the number 1 and
// the integer 1; empty when the add-in exports no xlAddInManagerInfo(12).
// With `title`, each answer other than it is a problem.
std::vector<std::string> AskName(const AddIn& addIn, const std::string* title);

// Calls the entry when the add-in exports it, as `host` ("Excel") does.
void CallAddInEntry(const char* host, const char* entry, bool exported, int (*call)(const AddIn&), const AddIn& addIn);

// After the user removed the add-in, no name of it may stay defined. What it
// left registered is no fault: Excel unregisters that after xlAutoClose
// (xlautoclose.md), and the transcript shows it.
void CheckTakenBack(const std::vector<SessionFormula>& formulas);

// What Excel does after xlAutoClose: it unregisters what the add-in left.
void TakeBackLeftovers(const char* host, const AddIn& addIn);
void UnloadAndCheck(const char* host, AddIn& addIn);

}  // namespace xllhost
