// Calculating the workbook: its formula cells calculated in the order their
// references require, each evaluated where it stands (Evaluation.h).
#pragma once

#include <functional>
#include <string>

#include "engine/Evaluation.h"
#include "workbook/Workbook.h"

namespace xllhost {

// What the order of calculation knows of a formula cell: whether its formula
// itself calls an add-in's function, and whether a cell that does refers to
// it, directly or through names, taking its value as an argument (a handle).
struct CellRole {
  bool callsAddIn = false;
  bool readByAddIn = false;
};

// What calculating the workbook does with each formula cell it calculates.
struct CalculationSteps {
  std::function<void(const FormulaCell& cell)> before;
  // `answer`: what the formula answered, whole.
  std::function<void(const FormulaCell& cell, const Evaluated& answer, const CellRole& role)> after;
};

// Whether the formula cell itself calls an add-in's function: one a loaded
// add-in registered, or one Excel saved as an add-in's (with _xll.), which
// shows #NAME? when no add-in registered it.
bool CallsAddIn(const Workbook& book, const EngineHost& host, const FormulaCell& entry);
// Where the cell stands, as "Sheet!A1".
std::string Where(const Workbook& book, const FormulaCell& entry);
// The first function of a loaded add-in the cell calls, as it registered
// it; empty when it calls none.
std::string AddInFunctionOf(const Workbook& book, const EngineHost& host, const FormulaCell& entry);

// Calculates the workbook's formula cells, each after the cells it refers
// to; a circular reference's cells are not calculated, and neither is a cell
// that needs one. With `onlyAddInCells`, only the cells that call an
// add-in's function or depend on one are; the rest keep what Excel saved.
void CalculateBook(Workbook& book, EngineHost& host, bool onlyAddInCells, const CalculationSteps& steps);

}  // namespace xllhost
