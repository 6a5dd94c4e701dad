#include "Oracle.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "Calculation.h"
#include "HostMemory.h"
#include "HostState.h"
#include "Information.h"
#include "Transcript.h"

namespace xllhost {

bool SameAsSaved(const Value& value, const Value& saved, double tolerance) {
  const bool empty = value.Is(xltypeNil) || value.Is(xltypeMissing), savedEmpty = saved.Is(xltypeNil);
  if (empty || savedEmpty) return empty && savedEmpty;
  if (value.Type() != saved.Type()) return false;
  switch (value.Type()) {
    case xltypeNum:
      if (tolerance == 0) return Display(value) == Display(saved);
      return std::fabs(value.num - saved.num) <= tolerance * std::max(std::fabs(value.num), std::fabs(saved.num));
    case xltypeMulti:
      if (value.rows != saved.rows || value.columns != saved.columns) return false;
      for (size_t i = 0; i < value.elements.size(); ++i)
        if (!SameAsSaved(value.elements[i], saved.elements[i], tolerance)) return false;
      return true;
    default: return Display(value) == Display(saved);
  }
}

namespace {

enum class Verdict { Same, Differs, NotCalculated };
const char* const VerdictText[] = {"same", "differs", "not calculated"};

struct Compared {
  const FormulaCell* cell;
  Value value, saved;
  bool hasSaved;
  Verdict verdict;
  std::string why;
};

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
std::string Where(const FormulaCell& cell) { return SheetName(cell) + "!" + CellName(cell.row, cell.column); }

bool WriteReport(const std::string& path, const std::vector<Compared>& cells) {
  std::ofstream out(path, std::ios::binary);
  out << "{\"cells\": [";
  for (size_t i = 0; i < cells.size(); ++i) {
    const Compared& c = cells[i];
    out << (i > 0 ? ",\n  " : "\n  ") << "{\"sheet\": " << Json(SheetName(*c.cell))
        << ", \"cell\": " << Json(CellName(c.cell->row, c.cell->column)) << ", \"formula\": " << Json(std::string(c.cell->text))
        << ", \"value\": " << (c.verdict == Verdict::NotCalculated ? "null" : Json(c.value))
        << ", \"saved\": " << (c.hasSaved ? Json(c.saved) : "null")
        << ", \"verdict\": " << Json(VerdictText[static_cast<int>(c.verdict)]) << ", \"why\": " << Json(c.why) << "}";
  }
  out << "\n]}\n";
  return static_cast<bool>(out);
}

bool WriteJunit(const std::string& path, const std::vector<Compared>& cells, int differ, int skipped) {
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"" << Xml(Book().name) << "\" tests=\""
      << cells.size() << "\" failures=\"" << differ << "\" skipped=\"" << skipped << "\">\n";
  for (const Compared& c : cells) {
    out << "  <testcase classname=\"" << Xml(SheetName(*c.cell)) << "\" name=\""
        << Xml(CellName(c.cell->row, c.cell->column) + " " + std::string(c.cell->text)) << "\"";
    if (c.verdict == Verdict::Same) {
      out << "/>\n";
      continue;
    }
    out << ">\n    <" << (c.verdict == Verdict::Differs ? "failure" : "skipped") << " message=\"" << Xml(c.why)
        << "\"/>\n  </testcase>\n";
  }
  out << "</testsuite>\n";
  return static_cast<bool>(out);
}

}  // namespace

void CompareWorkbook(const SessionOptions& options) {
  std::vector<Compared> compared;
  const size_t total = Book().Formulas().size();
  size_t done = 0;
  const ULONGLONG start = GetTickCount64();
  ULONGLONG told = start;
  CalculationSteps steps;
  steps.before = [](const FormulaCell& cell) { ChargeHostMemoryTo("cell " + Where(cell) + " " + std::string(cell.text)); };
  steps.after = [&](const FormulaCell& cell, const Evaluated& answer, bool callsAddIn) {
    CheckHostMemoryGivenBack("before it answered");
    if (const ULONGLONG now = GetTickCount64(); now - told >= 2000 && now - start >= 3000) {
      std::fprintf(stderr, "xllhost: calculated %zu of at most %zu formula cells\n", done, total);
      told = now;
    }
    ++done;
    if (!callsAddIn) return;
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
      if (!c.hasSaved)
        c.why = "Excel saved no value";
      else if (!SameAsSaved(c.value, c.saved, options.tolerance))
        c.why = "Excel saved " + saved;
      c.verdict = c.why.empty() ? Verdict::Same : Verdict::Differs;
      line += " shows " + Shown(c.value) + "; Excel saved " + saved + ": " + VerdictText[static_cast<int>(c.verdict)];
    }
    Say(line, "\n");
    compared.push_back(std::move(c));
  };
  CalculateBook(true, steps);
  int same = 0, differ = 0, skipped = 0;
  for (const Compared& c : compared)
    (c.verdict == Verdict::Same ? same : c.verdict == Verdict::Differs ? differ : skipped)++;
  std::printf("%zu cells: %d same as Excel, %d differ, %d not calculated\n", compared.size(), same, differ, skipped);
  if (differ > 0) Problem(std::to_string(differ) + " cell(s) differ from what Excel saved");
  if (!options.report.empty() && !WriteReport(options.report, compared))
    Unusable("cannot write the report " + options.report);
  if (!options.junit.empty() && !WriteJunit(options.junit, compared, differ, skipped))
    Unusable("cannot write the JUnit file " + options.junit);
}

}  // namespace xllhost
