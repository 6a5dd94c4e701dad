#include "session/Reports.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/Calculation.h"
#include "session/Transcript.h"
#include "state/Calls.h"

namespace xllhost {

const char* VerdictText(CellVerdict verdict) {
  static const char* const texts[] = {"same", "differs", "not calculated", "the session ended in it",
                                      "same but for its counter"};
  return texts[static_cast<int>(verdict)];
}

namespace {

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

std::string SheetName(const Workbook& book, const FormulaCell& cell) {
  return book.Sheets()[static_cast<size_t>(cell.sheet)].name;
}


// The reference page a problem cites, as "(page.md)" in its text, or empty.
std::string ReferencePage(const std::string& text) {
  const size_t end = text.find(".md)");
  if (end == std::string::npos) return "";
  const size_t open = text.rfind('(', end);
  return open == std::string::npos ? "" : text.substr(open + 1, end + 3 - open - 1);
}

std::vector<std::string> ProblemsIn(const std::string& where) {
  std::vector<std::string> texts;
  for (const ProblemSeen& problem : ProblemsSeen())
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
  std::string message = c.verdict == CellVerdict::Ended ? c.why : "";
  if (c.verdict == CellVerdict::Differs)
    message = "xllhost got " + Shown(c.value) + "; Excel saved " + (c.cell->saved ? Shown(*c.cell->saved) : "nothing") + ": " +
              c.why;
  if (!problems.empty()) message += (message.empty() ? "" : "; ") + std::string("problems: ") + Joined(problems);
  return message;
}

}  // namespace

bool WriteJsonReport(const std::string& path, const Workbook& book, const std::vector<Compared>& cells, int status) {
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
  out << "{\"status\": " << status << ", \"cells\": [";
  for (size_t i = 0; i < cells.size(); ++i) {
    const Compared& c = cells[i];
    out << (i > 0 ? ",\n  " : "\n  ") << "{\"sheet\": " << Json(SheetName(book, *c.cell))
        << ", \"cell\": " << Json(CellName(c.cell->row, c.cell->column)) << ", \"formula\": " << Json(std::string(c.cell->text))
        << ", \"value\": " << (c.verdict == CellVerdict::NotCalculated || c.verdict == CellVerdict::Ended ? "null" : Json(c.value))
        << ", \"saved\": " << (c.cell->saved ? Json(*c.cell->saved) : "null")
        << ", \"verdict\": " << Json(VerdictText(c.verdict)) << ", \"why\": " << Json(c.why) << "}";
  }
  out << "\n], \"problems\": [";
  const auto& problems = ProblemsSeen();
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

bool WriteJunitReport(const std::string& path, const Workbook& book, const std::vector<Compared>& cells) {
  std::vector<const ProblemSeen*> outside;
  for (const ProblemSeen& problem : ProblemsSeen())
    if (!problem.ofCells && problem.cell.empty()) outside.push_back(&problem);
  std::string cases;
  int failures = static_cast<int>(outside.size()), skipped = 0;
  for (const Compared& c : cells) {
    const std::vector<std::string> problems = ProblemsIn(Where(book, *c.cell));
    cases += "  <testcase classname=\"" + Xml(SheetName(book, *c.cell)) + "\" name=\"" +
             Xml(CellName(c.cell->row, c.cell->column) + " " + std::string(c.cell->text)) + "\"";
    if (c.verdict == CellVerdict::Differs || c.verdict == CellVerdict::Ended || !problems.empty()) {
      ++failures;
      cases += ">\n    <failure message=\"" + Xml(FailureMessage(c, problems)) + "\"/>\n  </testcase>\n";
    } else if (c.verdict == CellVerdict::NotCalculated) {
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
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"" << Xml(book.name) << "\" tests=\""
      << cells.size() + outside.size() + UnusableInput().size() << "\" failures=\"" << failures << "\" errors=\""
      << UnusableInput().size() << "\" skipped=\"" << skipped << "\">\n"
      << cases << "</testsuite>\n";
  return static_cast<bool>(out);
}

}  // namespace xllhost
