// A cell calculated alone, outside the workbook's order: what a formula
// shows, xlfEvaluate, and a function called by its name or number (xlUDF,
// a built-in's number).
#pragma once

#include <string>

#include "records/HostAnswer.h"

namespace xllhost {

// Whether a formula whose top calls `written` calls a function that is no
// built-in of the table, and the name it calls.
bool IsAddInCall(const std::string& written, std::string* name = nullptr);
// What a cell of the workbook's first sheet holding the formula shows; the
// cell is A1, or the given row's cell of column A (from 0). A formula
// xllhost cannot read, or the call of a function nobody registered, shows
// #NAME?; one it cannot calculate #N/A, and `notCalculated` says why.
Value Evaluate(const std::string& formula, int row = 0, std::string* notCalculated = nullptr);

// xlfEvaluate: what a cell holding the text as its formula shows; a formula
// that is a reference alone answers the reference.
Answer EvaluateText(const Request& request);

// xlCoerce, where a reference is converted from the values of its cells.
Answer CoerceReferences(const Request& request);

// A built-in worksheet function an add-in calls by its number; null when
// the table has none that xllhost calculates.
// xlUDF: the function registered under the name or the register ID the
// first argument gives, called with the others as a cell calls it. A name or
// an ID no function is registered under answers #NAME?, as a cell calling
// it shows (xludf.md does not say); a macro sheet's cell is not modelled.
Answer CallUserFunction(const Request& request);

// xlSet: refused to a worksheet function, as a problem of the add-in's.
Answer SetCells(const Request& request);

bool IsCalculatedBuiltin(int xlfn);
Answer CallBuiltin(int xlfn, const Request& request);

}  // namespace xllhost
