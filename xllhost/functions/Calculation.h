// Calculating the workbook: a formula evaluated where it stands, calling
// built-in functions from their table and the add-ins' registered
// functions with arguments as their type texts ask; and the workbook's
// formula cells calculated in the order their references require.
#pragma once

#include <functional>
#include <string>

#include "Builtins.h"
#include "Workbook.h"

namespace xllhost {

// What a formula shows, or why it is not calculated.
struct Evaluated {
  Value value;  // an array formula's whole answer; a cell's whole array
  std::string notCalculated;
};

// The formula standing at `place`, as written in `text`, filling `area`
// (its cell, or its array block). `fromExcel`: Excel calculated it, so a
// function neither registered nor in the table is one of Excel's that
// xllhost lacks, not a name nobody defined (#NAME?).
Evaluated EvaluateFormula(const Formula& formula, std::string_view text, const Place& place, const Area& area,
                          bool fromExcel);

// Whether the registered functions of the add-ins include the name (upper
// case, without _xll.).
bool IsAddInFunction(const std::string& name);

// What calculating the workbook does with each formula cell it calculates.
struct CalculationSteps {
  std::function<void(const FormulaCell& cell)> before;
  // `value`: what the formula answered, whole; `callsAddIn`: the formula
  // itself calls an add-in's function.
  std::function<void(const FormulaCell& cell, const Evaluated& answer, bool callsAddIn)> after;
};

// Calculates the workbook's formula cells, each after the cells it refers
// to; a circular reference's cells are not calculated, and neither is a cell
// that needs one. With `onlyAddInCells`, only the cells that call an
// add-in's function or depend on one are; the rest keep what Excel saved.
void CalculateBook(bool onlyAddInCells, const CalculationSteps& steps);

}  // namespace xllhost
