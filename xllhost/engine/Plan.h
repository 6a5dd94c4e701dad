// The order in which the workbook's formula cells are calculated, and what
// the order knows of each: whether it is calculated, what it needs, and
// whether it may be calculated on a calculation thread.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/EngineHost.h"
#include "workbook/Workbook.h"

namespace xllhost {

// What the order of calculation knows of a formula cell: whether its formula
// itself calls an add-in's function, and whether a cell that does refers to
// it, directly or through names, taking its value as an argument (a handle).
struct CellRole {
  bool callsAddIn = false;
  bool readByAddIn = false;
};

// Each formula cell (by its entry in Workbook::Formulas()) after those it
// refers to. A cell on a circular reference gets why it is not calculated.
struct Plan {
  std::vector<int> order;
  std::vector<bool> recalculate;
  std::vector<CellRole> roles;
  std::map<int, std::string> circular;
  // A thread-safe cell (multithreaded-recalculation-in-excel.md): it calls
  // an add-in's function, every one it calls is registered thread-safe,
  // and it needs nothing Excel calculates only on its main thread. A cell
  // on a circular reference is not one.
  std::vector<bool> threadSafe;
  // The recalculated cells each cell refers to, kept only when asked for:
  // entry e's are needs[needsOf[e].first] up to needs[needsOf[e].end].
  struct Span {
    size_t first = 0, end = 0;
  };
  std::vector<Span> needsOf;
  std::vector<int> needs;
  // Whether a cell calls an asynchronous function: such a cell is calculated
  // on the calling thread, and the workbook in rounds (Calculation.h).
  bool asynchronous = false;
};

// With `onlyAddInCells`, only the cells that call an add-in's function or
// depend on one are recalculated. Each recalculated cell is marked not
// calculated in the workbook. `keep`: which cells' needs are kept.
enum class KeepNeeds {
  None,
  OfThreadSafe,  // for the calculation threads: the others wait for their turn, after all they need
  OfAll,         // for a calculation in rounds
};
Plan MakePlan(Workbook& book, const EngineHost& host, bool onlyAddInCells, KeepNeeds keep);

// Where the cell stands, as "Sheet!A1".
std::string Where(const Workbook& book, const FormulaCell& entry);
// Where the entry's formula stands, and the area it fills: the cell, or its array block.
Place PlaceOf(const Workbook& book, const FormulaCell& entry);
Area AreaOf(const Workbook& book, const FormulaCell& entry);

// Whether the formula cell itself calls an add-in's function: one a loaded
// add-in registered, or one Excel saved as an add-in's (with _xll.), which
// shows #NAME? when no add-in registered it.
bool CallsAddIn(const Workbook& book, const EngineHost& host, const FormulaCell& entry);

}  // namespace xllhost
