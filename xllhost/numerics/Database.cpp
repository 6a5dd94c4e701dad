#include "numerics/Database.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "builtins/Aggregates.h"
#include "builtins/Criteria.h"
#include "builtins/Operators.h"
#include "numerics/Statistics.h"
#include "records/Coerce.h"

namespace xllhost {
namespace {

// The database's field a label names, ignoring case, or -1.
int FieldNamed(const Grid& database, const Value& label) {
  for (int column = 0; column < database.columns; ++column) {
    const Value& name = database.At(0, column);
    if (Equal(name, label)) return column;
  }
  return -1;
}

// A condition as the database functions read it: as SUMIF's criterion,
// except that a text without an operator, which does not read as a number
// or a Boolean, matches every text that begins with it ("Pea" matches
// "Pear").
Criterion Condition(const Value& cell) {
  if (!cell.Is(xltypeStr) || cell.text.empty() || std::strchr("=<>", cell.text[0]) != nullptr) return Criterion(cell);
  Value number;
  const std::string upper = Upper(cell.text);
  if (CoerceValue(cell, xltypeNum, Interface::Excel12, &number) || upper == "TRUE" || upper == "FALSE")
    return Criterion(cell);
  return Criterion(TextValue(cell.text + "*"));
}

// The records (rows of the database from 1) that meet the criteria. A
// condition under a label that names no field is a computed criterion,
// which xllhost does not calculate.
bool Meeting(const BuiltinCall& c, const Grid& database, std::vector<int>* records, Value* answer) {
  const Grid criteria(c.Values(2));
  if (!c.args[2].IsReference() || criteria.rows < 2) return *answer = ErrorValue(xlerrValue), false;
  std::vector<std::vector<std::pair<int, Criterion>>> alternatives(static_cast<size_t>(criteria.rows - 1));
  for (int column = 0; column < criteria.columns; ++column) {
    const int field = FieldNamed(database, criteria.At(0, column));
    for (int row = 1; row < criteria.rows; ++row) {
      const Value& cell = criteria.At(row, column);
      if (cell.Is(xltypeNil)) continue;
      if (field < 0) return *answer = c.NotCalculated("a computed criterion of a database function"), false;
      alternatives[static_cast<size_t>(row - 1)].emplace_back(field, Condition(cell));
    }
  }
  for (int record = 1; record < database.rows; ++record)
    for (const auto& conditions : alternatives) {
      bool met = true;
      for (const auto& [field, condition] : conditions) met = met && condition.Matches(database.At(record, field));
      if (met) {
        records->push_back(record);
        break;
      }
    }
  return true;
}

// The field argument: a label, or a column's position from 1; -1 when it
// is not given.
bool FieldOf(const BuiltinCall& c, const Grid& database, int* field, Value* answer) {
  *field = -1;
  if (!c.Given(1)) return true;
  const Value given = c.Scalar(1);
  if (given.Is(xltypeErr)) return *answer = given, false;
  Value number;
  if (given.Is(xltypeStr))
    *field = FieldNamed(database, given);
  else if (CoerceValue(given, xltypeNum, Interface::Excel12, &number) && number.num >= 1 &&
           number.num < database.columns + 1)
    *field = static_cast<int>(number.num) - 1;
  if (*field < 0) return *answer = ErrorValue(xlerrValue), false;
  return true;
}

// The database, its field and the records that meet the criteria.
struct Selection {
  Grid database;
  int field = -1;
  std::vector<int> records;
};

bool Select(const BuiltinCall& c, Selection* s, Value* answer) {
  if (!c.args[0].IsReference()) return *answer = ErrorValue(xlerrValue), false;
  s->database = Grid(c.Values(0));
  return FieldOf(c, s->database, &s->field, answer) && Meeting(c, s->database, &s->records, answer);
}

// The field's values in the records met, given to `aggregate` as one
// array; without a field (DCOUNT, DCOUNTA when `counts`), the number of
// records met.
Value OverRecords(const BuiltinCall& c, Value (*aggregate)(const BuiltinCall&), bool counts = false) {
  Selection s;
  Value answer;
  if (!Select(c, &s, &answer)) return answer;
  if (s.field < 0) return counts ? NumberValue(static_cast<double>(s.records.size())) : ErrorValue(xlerrValue);
  std::vector<Operand> args(1);
  Value& values = args[0].value;
  values = ArrayValue(std::max<size_t>(1, s.records.size()), 1);  // none: one empty element, which none counts
  for (size_t i = 0; i < s.records.size(); ++i) values.elements[i] = s.database.At(s.records[i], s.field);
  return aggregate(BuiltinCall{c.book, c.place, args, c.notCalculated});
}

}  // namespace

Value DSum(const BuiltinCall& call) { return OverRecords(call, Sum); }
Value DAverage(const BuiltinCall& call) { return OverRecords(call, Average); }
Value DCount(const BuiltinCall& call) { return OverRecords(call, Count, true); }
Value DCountA(const BuiltinCall& call) { return OverRecords(call, CountA, true); }
Value DMax(const BuiltinCall& call) { return OverRecords(call, MaxOf); }
Value DMin(const BuiltinCall& call) { return OverRecords(call, MinOf); }
Value DProduct(const BuiltinCall& call) { return OverRecords(call, ProductOf); }
Value DStDev(const BuiltinCall& call) { return OverRecords(call, StDev); }
Value DStDevP(const BuiltinCall& call) { return OverRecords(call, StDevP); }
Value DVar(const BuiltinCall& call) { return OverRecords(call, Var); }
Value DVarP(const BuiltinCall& call) { return OverRecords(call, VarP); }
Value DGet(const BuiltinCall& call) {
  Selection s;
  Value answer;
  if (!Select(call, &s, &answer)) return answer;
  if (s.field < 0 || s.records.empty()) return ErrorValue(xlerrValue);
  return s.records.size() > 1 ? ErrorValue(xlerrNum) : s.database.At(s.records[0], s.field);
}

}  // namespace xllhost
