// The reports of a workbook's comparison with what Excel saved: JSON and
// JUnit XML, each with the session's problems and agreeing with its status.
#pragma once

#include <string>
#include <vector>

#include "workbook/Workbook.h"

namespace xllhost {

// SameButCounter: a handle (a text another add-in cell takes as an
// argument) that differs from what Excel saved only in its trailing digits,
// the counter of how often it was made; it counts as the same.
enum class CellVerdict { Same, Differs, NotCalculated, Ended, SameButCounter };
const char* VerdictText(CellVerdict verdict);

// A cell that calls an add-in, and what became of it; what Excel saved for
// it is the cell's own (FormulaCell::saved).
struct Compared {
  const FormulaCell* cell;
  Value value;
  CellVerdict verdict;
  std::string why;
};

// The comparison as JSON: the status, each cell with its values and verdict,
// every problem of the session and what xllhost could not interpret.
bool WriteJsonReport(const std::string& path, const Workbook& book, const std::vector<Compared>& cells, int status);
// A test case per cell, failing when it differs or a problem arose in its
// call; one failing per problem outside any cell, and one in error per input
// xllhost could not interpret: the report is green only for status 0.
bool WriteJunitReport(const std::string& path, const Workbook& book, const std::vector<Compared>& cells);

}  // namespace xllhost
