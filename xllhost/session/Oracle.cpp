#include "Oracle.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>

#include "Calculation.h"
#include "CrashReport.h"
#include "Evaluation.h"
#include "Registrations.h"
#include "HostMemory.h"
#include "HostState.h"
#include "Information.h"
#include "Transcript.h"

namespace xllhost {

namespace {

const char* Kind(const Value& value) {
  switch (value.Type()) {
    case xltypeNum: return "a number";
    case xltypeStr: return "a text";
    case xltypeBool: return "a Boolean";
    case xltypeErr: return "an error";
    case xltypeMulti: return "an array";
    default: return "an empty cell";
  }
}

std::string Size(const Value& array) { return std::to_string(array.rows) + "x" + std::to_string(array.columns); }

}  // namespace

std::string Difference(const Value& value, const Value& saved, double tolerance) {
  const bool empty = value.Is(xltypeNil) || value.Is(xltypeMissing), savedEmpty = saved.Is(xltypeNil);
  if (empty && savedEmpty) return "";
  if (empty || savedEmpty || value.Type() != saved.Type())
    return std::string(empty ? "an empty cell" : Kind(value)) + " where Excel saved " +
           (savedEmpty ? "an empty cell" : Kind(saved));
  switch (value.Type()) {
    case xltypeNum:
      if (tolerance == 0)
        return Display(value) == Display(saved) ? "" : "the numbers differ within 15 significant digits";
      if (std::fabs(value.num - saved.num) <= tolerance * std::max(std::fabs(value.num), std::fabs(saved.num)))
        return "";
      return "the numbers differ by more than the relative tolerance " + Display(NumberValue(tolerance));
    case xltypeMulti:
      if (value.rows != saved.rows || value.columns != saved.columns)
        return "an array of " + Size(value) + " where Excel saved one of " + Size(saved);
      for (size_t i = 0; i < value.elements.size(); ++i) {
        const std::string why = Difference(value.elements[i], saved.elements[i], tolerance);
        if (!why.empty())
          return "element (" + std::to_string(i / static_cast<size_t>(value.columns) + 1) + "," +
                 std::to_string(i % static_cast<size_t>(value.columns) + 1) + "): " + why;
      }
      return "";
    default:
      if (Display(value) == Display(saved)) return "";
      return value.Is(xltypeStr) ? "the texts differ" : value.Is(xltypeErr) ? "the errors differ" : "the Booleans differ";
  }
}

bool SameAsSaved(const Value& value, const Value& saved, double tolerance) {
  return Difference(value, saved, tolerance).empty();
}

namespace {

enum class Verdict { Same, Differs, NotCalculated, Ended };
const char* const VerdictText[] = {"same", "differs", "not calculated", "the session ended in it"};

struct Compared {
  const FormulaCell* cell;
  Value value, saved;
  bool hasSaved;
  Verdict verdict;
  std::string why;
};

// The cells judged in this session, kept until the reports are written
// after the verdict, with every problem the session found.
struct Judged {
  std::vector<Compared> cells;
  std::string report, junit;
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

std::string Json(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

std::string Json(const Value& value) {
  switch (value.Type()) {
    case xltypeNum: {
      char number[40];
      std::snprintf(number, sizeof number, "%.17G", value.num);
      return std::string("{\"number\": ") + number + "}";
    }
    case xltypeStr: return "{\"text\": " + Json(value.text) + "}";
    case xltypeBool: return std::string("{\"boolean\": ") + (value.boolean ? "true" : "false") + "}";
    case xltypeErr: return "{\"error\": " + Json(ErrorText(value.err)) + "}";
    case xltypeMulti: {
      std::string rows;
      for (int r = 0; r < value.rows; ++r) {
        std::string row;
        for (int c = 0; c < value.columns; ++c)
          row += (c > 0 ? ", " : "") + Json(value.elements[static_cast<size_t>(r * value.columns + c)]);
        rows += (r > 0 ? ", [" : "[") + row + "]";
      }
      return "{\"array\": [" + rows + "]}";
    }
    default: return "{\"nil\": null}";
  }
}

std::string Xml(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string SheetName(const FormulaCell& cell) { return Book().Sheets()[static_cast<size_t>(cell.sheet)].name; }
std::string Where(const FormulaCell& cell) { return Where(Book(), cell); }

using ProblemSeen = HostState::ProblemSeen;

// The reference page a problem cites, as "(page.md)" in its text, or empty.
std::string ReferencePage(const std::string& text) {
  const size_t end = text.find(".md)");
  if (end == std::string::npos) return "";
  const size_t open = text.rfind('(', end);
  return open == std::string::npos ? "" : text.substr(open + 1, end + 3 - open - 1);
}

std::vector<std::string> ProblemsIn(const std::string& where) {
  std::vector<std::string> texts;
  for (const ProblemSeen& problem : State().problemsSeen)
    if (!problem.ofCells && problem.cell == where) texts.push_back(problem.text);
  return texts;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "; ") + text;
  return joined;
}

// What a cell's failure says: what xllhost got, what Excel saved, and why.
std::string FailureMessage(const Compared& c, const std::vector<std::string>& problems) {
  std::string message = c.verdict == Verdict::Ended ? c.why : "";
  if (c.verdict == Verdict::Differs)
    message = "xllhost got " + Shown(c.value) + "; Excel saved " + (c.hasSaved ? Shown(c.saved) : "nothing") + ": " +
              c.why;
  if (!problems.empty()) message += (message.empty() ? "" : "; ") + std::string("problems: ") + Joined(problems);
  return message;
}

bool WriteReport(const std::string& path, const std::vector<Compared>& cells, int status) {
  std::ofstream out(path, std::ios::binary);
  out << "{\"status\": " << status << ", \"cells\": [";
  for (size_t i = 0; i < cells.size(); ++i) {
    const Compared& c = cells[i];
    out << (i > 0 ? ",\n  " : "\n  ") << "{\"sheet\": " << Json(SheetName(*c.cell))
        << ", \"cell\": " << Json(CellName(c.cell->row, c.cell->column)) << ", \"formula\": " << Json(std::string(c.cell->text))
        << ", \"value\": " << (c.verdict == Verdict::NotCalculated || c.verdict == Verdict::Ended ? "null" : Json(c.value))
        << ", \"saved\": " << (c.hasSaved ? Json(c.saved) : "null")
        << ", \"verdict\": " << Json(VerdictText[static_cast<int>(c.verdict)]) << ", \"why\": " << Json(c.why) << "}";
  }
  out << "\n], \"problems\": [";
  const auto& problems = State().problemsSeen;
  for (size_t i = 0; i < problems.size(); ++i) {
    const ProblemSeen& p = problems[i];
    const std::string page = ReferencePage(p.text);
    out << (i > 0 ? ",\n  " : "\n  ") << "{\"text\": " << Json(p.text)
        << ", \"cell\": " << (p.cell.empty() ? "null" : Json(p.cell))
        << ", \"function\": " << (p.function.empty() ? "null" : Json(p.function))
        << ", \"reference\": " << (page.empty() ? "null" : Json(page)) << "}";
  }
  out << "\n], \"not interpreted\": [";
  for (size_t i = 0; i < UnusableInput().size(); ++i) out << (i > 0 ? ",\n  " : "\n  ") << Json(UnusableInput()[i]);
  out << "\n]}\n";
  return static_cast<bool>(out);
}

// A test case per cell, failing when it differs or a problem arose in its
// call; one failing per problem outside any cell, and one in error per input
// xllhost could not interpret: the report is green only for status 0.
bool WriteJunit(const std::string& path, const std::vector<Compared>& cells) {
  std::vector<const ProblemSeen*> outside;
  for (const ProblemSeen& problem : State().problemsSeen)
    if (!problem.ofCells && problem.cell.empty()) outside.push_back(&problem);
  std::string cases;
  int failures = static_cast<int>(outside.size()), skipped = 0;
  for (const Compared& c : cells) {
    const std::vector<std::string> problems = ProblemsIn(Where(*c.cell));
    cases += "  <testcase classname=\"" + Xml(SheetName(*c.cell)) + "\" name=\"" +
             Xml(CellName(c.cell->row, c.cell->column) + " " + std::string(c.cell->text)) + "\"";
    if (c.verdict == Verdict::Differs || c.verdict == Verdict::Ended || !problems.empty()) {
      ++failures;
      cases += ">\n    <failure message=\"" + Xml(FailureMessage(c, problems)) + "\"/>\n  </testcase>\n";
    } else if (c.verdict == Verdict::NotCalculated) {
      ++skipped;
      cases += ">\n    <skipped message=\"" + Xml(c.why) + "\"/>\n  </testcase>\n";
    } else {
      cases += "/>\n";
    }
  }
  int n = 0;
  for (const ProblemSeen* problem : outside)
    cases += "  <testcase classname=\"session\" name=\"problem " + std::to_string(++n) + "\">\n    <failure message=\"" +
             Xml(problem->text) + "\"/>\n  </testcase>\n";
  n = 0;
  for (const std::string& text : UnusableInput())
    cases += "  <testcase classname=\"session\" name=\"not interpreted " + std::to_string(++n) +
             "\">\n    <error message=\"" + Xml(text) + "\"/>\n  </testcase>\n";
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"" << Xml(Book().name) << "\" tests=\""
      << cells.size() + outside.size() + UnusableInput().size() << "\" failures=\"" << failures << "\" errors=\""
      << UnusableInput().size() << "\" skipped=\"" << skipped << "\">\n"
      << cases << "</testsuite>\n";
  return static_cast<bool>(out);
}

// The reports of a session that crashed: the verdicts reached, the cell it
// crashed in, and every other add-in cell, not calculated.
void ReportsAfterCrash(const char* crash) {
  std::vector<Compared>& cells = Session().cells;
  const std::string where = State().judging ? Where(*State().judging) : "";
  std::set<const FormulaCell*> judged;
  for (const Compared& c : cells) judged.insert(c.cell);
  for (const FormulaCell& cell : Book().Formulas()) {
    if (judged.count(&cell) != 0 || !CallsAddIn(Book(), cell)) continue;
    Compared c{&cell, Value{}, cell.saved ? *cell.saved : Value{}, cell.saved != nullptr, Verdict::NotCalculated, ""};
    if (Where(cell) == where) {
      c.verdict = Verdict::Ended;
      c.why = std::string("the session ended in this cell: ") + crash;
    } else {
      c.why = "not calculated: the session ended " + (where.empty() ? std::string("outside any cell") : "in " + where);
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

void CompareWorkbook(const SessionOptions& options) {
  std::vector<Compared>& compared = Session().cells;
  const size_t total = Book().Formulas().size();
  size_t done = 0;
  const ULONGLONG start = GetTickCount64();
  ULONGLONG told = start;
  CalculationSteps steps;
  steps.before = [](const FormulaCell& cell) {
    State().judging = &cell;
    ChargeHostMemoryTo("cell " + Where(cell) + " " + std::string(cell.text));
  };
  steps.after = [&](const FormulaCell& cell, const Evaluated& answer, bool callsAddIn) {
    CheckHostMemoryGivenBack("before it answered");
    if (const ULONGLONG now = GetTickCount64(); now - told >= 2000 && now - start >= 3000) {
      std::fprintf(stderr, "xllhost: calculated %zu of at most %zu formula cells\n", done, total);
      told = now;
    }
    ++done;
    if (callsAddIn) {
      Compared c{&cell, Showing(cell), cell.saved ? *cell.saved : Value{}, cell.saved != nullptr, Verdict::Same, ""};
      const std::string text(cell.text);
      std::string line = "  " + Where(cell) + " " + text;
      const std::string saved = c.hasSaved ? Shown(c.saved) : "nothing";
      if (!answer.notCalculated.empty()) {
        c.verdict = Verdict::NotCalculated;
        c.why = answer.notCalculated;
        line += " not calculated (" + c.why + "); Excel saved " + saved;
      } else {
        CheckCounts(answer.value, "cell " + Where(cell) + " " + text);
        c.why = c.hasSaved ? Difference(c.value, c.saved, options.tolerance) : "Excel saved no value";
        c.verdict = c.why.empty() ? Verdict::Same : Verdict::Differs;
        line += " shows " + Shown(c.value) + "; Excel saved " + saved + ": " + VerdictText[static_cast<int>(c.verdict)];
      }
      Say(line, "\n");
      compared.push_back(std::move(c));
    }
    State().judging = nullptr;
  };
  CalculateBook(true, steps);
  int same = 0, differ = 0, skipped = 0;
  for (const Compared& c : compared)
    (c.verdict == Verdict::Same ? same : c.verdict == Verdict::Differs ? differ : skipped)++;
  std::printf("%zu cells: %d same as Excel, %d differ, %d not calculated\n", compared.size(), same, differ, skipped);
  if (differ > 0) ProblemOfCells(std::to_string(differ) + " cell(s) differ from what Excel saved");
  if (compared.empty())
    Unusable("no cell of the workbook calls a function of the loaded add-ins, or one written with _xll.: "
             "nothing was judged");
}

int WriteWorkbookReports(int status) {
  const Judged& judged = Session();
  bool written = true;
  if (!judged.report.empty() && !WriteReport(judged.report, judged.cells, status)) {
    std::fprintf(stderr, "xllhost: cannot write the report %s\n", judged.report.c_str());
    written = false;
  }
  if (!judged.junit.empty() && !WriteJunit(judged.junit, judged.cells)) {
    std::fprintf(stderr, "xllhost: cannot write the JUnit file %s\n", judged.junit.c_str());
    written = false;
  }
  return written || status != 0 ? status : 2;
}

}  // namespace xllhost
