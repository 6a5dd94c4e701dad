#include "session/Oracle.h"

#include <windows.h>

#include <cstdio>
#include <set>

#include "engine/Calculation.h"
#include "functions/AddInsHost.h"
#include "functions/Information.h"
#include "native/CrashReport.h"
#include "session/Reports.h"
#include "session/CalculationEnd.h"
#include "session/Transcript.h"
#include "state/HostMemory.h"
#include "workbook/Comparison.h"

namespace xllhost {


namespace {

// The cells judged in this session, kept until the reports are written
// after the verdict, with every problem the session found.
struct Judged {
  std::vector<Compared> cells;
  std::string report, junit;
  // The cell the main thread judges, for the last words of a run its
  // watchdog ends.
  const FormulaCell* judging = nullptr;
};
Judged& Session() {
  static Judged judged;
  return judged;
}

// What the cell, or its array block, shows now.
Value Showing(const FormulaCell& entry) {
  const Workbook& book = Book();
  const Cell& cell = book.Sheets()[static_cast<size_t>(entry.sheet)].cells[entry.cell];
  if (cell.block < 0) return cell.value;
  std::string ignored;
  return AreaValues(book, entry.sheet, book.Blocks()[static_cast<size_t>(cell.block)].area, &ignored);
}

std::string Where(const FormulaCell& cell) { return Where(Book(), cell); }

// Two texts that differ only in their trailing digits, which both have.
bool SameButForCounter(const Value& value, const Value& saved) {
  if (!value.Is(xltypeStr) || !saved.Is(xltypeStr)) return false;
  auto stem = [](const std::string& text) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] >= '0' && text[end - 1] <= '9') --end;
    return end;
  };
  const size_t a = stem(value.text), b = stem(saved.text);
  return a < value.text.size() && b < saved.text.size() && a > 0 && value.text.compare(0, a, saved.text, 0, b) == 0;
}

// What the host memory a cell's calculation takes is charged to.
std::string TakerOf(const FormulaCell& cell) { return "cell " + Where(cell) + " " + std::string(cell.text); }

// The reports of a session that crashed: the verdicts reached, the cell it
// crashed in, and every other add-in cell, not calculated.
void ReportsAfterCrash(const char* crash) {
  std::vector<Compared>& cells = Session().cells;
  // A crash is said on its thread; the watchdog ends a run on its own.
  const FormulaCell* ended = JudgingOnThread() != nullptr ? JudgingOnThread() : Session().judging;
  const std::string where = ended ? "in " + Where(*ended) : "outside any cell";
  std::set<const FormulaCell*> judged;
  for (const Compared& c : cells) judged.insert(c.cell);
  for (const FormulaCell& cell : Book().Formulas()) {
    if (judged.count(&cell) != 0 || !CallsAddIn(Book(), AddInsHost(), cell)) continue;
    Compared c{&cell, Value{}, CellVerdict::NotCalculated, ""};
    if (&cell == ended) {
      c.verdict = CellVerdict::Ended;
      c.why = std::string("the session ended in this cell: ") + crash;
    } else {
      c.why = "not calculated: the session ended " + where;
    }
    cells.push_back(std::move(c));
  }
  WriteWorkbookReports(3);
}

}  // namespace

void PrepareWorkbookReports(const SessionOptions& options) {
  Session() = Judged{{}, options.report, options.junit};
  if (!options.report.empty() || !options.junit.empty()) OnCrash(ReportsAfterCrash);
}

namespace {

// The verdict on a cell just calculated. `taker` names the cell as host
// memory is charged to it; the transcript's line of the verdict is written
// only when the transcript is printed, as a quiet run over a big workbook
// would spend more time on lines than on its cells.
Compared Judge(const FormulaCell& cell, const Evaluated& answer, const CellRole& role, double tolerance,
               const std::string& taker, std::string& line) {
  Compared c{&cell, Showing(cell), CellVerdict::Same, ""};
  const bool told = !IsQuiet();
  const std::string saved = !told ? "" : cell.saved ? Shown(*cell.saved) : "nothing";
  if (told) line = "  " + Where(cell) + " " + std::string(cell.text);
  if (!answer.notCalculated.empty()) {
    c.verdict = CellVerdict::NotCalculated;
    c.why = answer.notCalculated;
    if (told) line += " not calculated (" + c.why + "); Excel saved " + saved;
    return c;
  }
  CheckCounts(answer.value, taker);
  c.why = cell.saved ? Difference(c.value, *cell.saved, tolerance) : "Excel saved no value";
  c.verdict = c.why.empty() ? CellVerdict::Same : CellVerdict::Differs;
  if (c.verdict == CellVerdict::Differs && cell.saved && role.readByAddIn && SameButForCounter(c.value, *cell.saved)) {
    c.verdict = CellVerdict::SameButCounter;
    c.why.clear();
  }
  if (told) line += " shows " + Shown(c.value) + "; Excel saved " + saved + ": " + VerdictText(c.verdict);
  return c;
}

}  // namespace

void CompareWorkbook(const SessionOptions& options) {
  std::vector<Compared>& compared = Session().cells;
  const size_t total = Book().Formulas().size();
  size_t done = 0;
  const ULONGLONG start = GetTickCount64();
  ULONGLONG told = start;
  const int threads = CalculationThreads(options);
  CellTranscripts transcripts(threads);
  CalculationSteps steps;
  steps.before = [&](const FormulaCell& cell, int thread) {
    transcripts.Begin(cell, thread);
    JudgingOnThread() = &cell;
    if (thread == 0) Session().judging = &cell;
    ChargeHostMemoryTo(TakerOf(cell));
  };
  steps.after = [&](const FormulaCell& cell, const Evaluated& answer, const CellRole& role, int thread) {
    JudgingOnThread() = &cell;
    transcripts.Turn(cell, thread);
    // A cell calculated on the reporting thread was charged there just now.
    const std::string taker = thread == 0 ? HostMemoryTaker() : TakerOf(cell);
    CheckHostMemoryGivenBack("before it answered", &taker);
    if (const ULONGLONG now = GetTickCount64(); now - told >= 2000 && now - start >= 3000) {
      std::fprintf(stderr, "xllhost: calculated %zu of at most %zu formula cells\n", done, total);
      told = now;
    }
    ++done;
    if (role.callsAddIn || options.allCells) {
      std::string line;
      compared.push_back(Judge(cell, answer, role, options.tolerance, taker, line));
      Say(line, thread != 0 ? ", calculated on the " + ThreadName(thread) : "", "\n");
    }
    JudgingOnThread() = nullptr;
    Session().judging = nullptr;
  };
  CalculateBook(Book(), AddInsHost(threads), !options.allCells, steps, threads);
  EndCalculation();
  int same = 0, differ = 0, skipped = 0;
  for (const Compared& c : compared)
    (c.verdict == CellVerdict::Same || c.verdict == CellVerdict::SameButCounter ? same
     : c.verdict == CellVerdict::Differs                                         ? differ
                                                                                 : skipped)++;
  std::printf("%zu cells: %d same as Excel, %d differ, %d not calculated\n", compared.size(), same, differ, skipped);
  if (differ > 0) ProblemOfCells(std::to_string(differ) + " cell(s) differ from what Excel saved");
  if (compared.empty() && options.allCells) Unusable("the workbook has no formula cell: nothing was judged");
  if (compared.empty() && !options.allCells)
    Unusable("no cell of the workbook calls a function of the loaded add-ins, or one written with _xll.: "
             "nothing was judged");
}

int CompareWorkbookAlone(const SessionOptions& options) {
  PrepareWorkbookReports(options);
  CompareWorkbook(options);
  return WriteWorkbookReports(Verdict("no formula cell differs from what Excel saved"));
}

int WriteWorkbookReports(int status) {
  const Judged& judged = Session();
  bool written = true;
  if (!judged.report.empty() && !WriteJsonReport(judged.report, Book(), judged.cells, status)) {
    std::fprintf(stderr, "xllhost: cannot write the report %s\n", judged.report.c_str());
    written = false;
  }
  if (!judged.junit.empty() && !WriteJunitReport(judged.junit, Book(), judged.cells)) {
    std::fprintf(stderr, "xllhost: cannot write the JUnit file %s\n", judged.junit.c_str());
    written = false;
  }
  return written || status != 0 ? status : 2;
}

}  // namespace xllhost
