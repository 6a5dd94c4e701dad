#include "builtins/ConditionalAggregates.h"

#include <vector>

#include "builtins/Criteria.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

// A range's values, read once, cell by cell, with its shape.
struct Cells {
  Value values;
  int rows = 1, columns = 1;

  explicit Cells(Value given = Value{}) : values(std::move(given)) {
    if (values.Is(xltypeMulti)) rows = values.rows, columns = values.columns;
  }
  size_t Count() const { return static_cast<size_t>(rows) * static_cast<size_t>(columns); }
  const Value& operator[](size_t i) const { return values.Is(xltypeMulti) ? values.elements[i] : values; }
};

// SUMIF's and AVERAGEIF's third argument: as large as the range, from its
// own first cell, whatever its size.
bool AlongRange(const BuiltinCall& c, size_t i, const Cells& range, Cells* cells, Value* error) {
  const Operand& given = c.args[i];
  if (!given.IsReference()) return *error = ErrorValue(xlerrValue), false;
  const Area area{given.area.firstRow, given.area.firstRow + range.rows - 1, given.area.firstColumn,
                  given.area.firstColumn + range.columns - 1};
  if (!area.InGrid()) return *error = ErrorValue(xlerrRef), false;
  *cells = Cells(AreaValues(c.book, given.sheet, area, c.notCalculated));
  return true;
}

// Which cells meet every criterion of the pairs of arguments (range,
// criterion) from `first` to `last`. Every range has the shape of the
// first, or of `shape` when it is given; another, or a criterion that is
// an array, is #VALUE!.
bool Meeting(const BuiltinCall& c, size_t first, size_t last, const Cells* shape, std::vector<char>* meets,
             Value* error) {
  if (last <= first || (last - first) % 2 != 0) return *error = ErrorValue(xlerrValue), false;
  int rows = shape == nullptr ? 0 : shape->rows, columns = shape == nullptr ? 0 : shape->columns;
  for (size_t i = first; i < last; i += 2) {
    const Cells range(c.Values(i));
    const Value criterion = c.Scalar(i + 1);
    if (rows == 0) rows = range.rows, columns = range.columns;
    if (criterion.Is(xltypeMulti) || range.rows != rows || range.columns != columns)
      return *error = ErrorValue(xlerrValue), false;
    if (meets->empty()) meets->assign(range.Count(), 1);
    const Criterion test(criterion);
    for (size_t k = 0; k < range.Count(); ++k)
      if ((*meets)[k] != 0 && !test.Matches(range[k])) (*meets)[k] = 0;
  }
  return true;
}

// The sum, or the mean, of the numbers among the cells that meet; the
// first error among those is the answer. A mean of none is #DIV/0!.
Value Summed(const Cells& cells, const std::vector<char>& meets, bool mean) {
  double total = 0, count = 0;
  for (size_t k = 0; k < meets.size(); ++k) {
    if (meets[k] == 0) continue;
    if (cells[k].Is(xltypeErr)) return cells[k];
    if (cells[k].Is(xltypeNum)) total += cells[k].num, ++count;
  }
  if (mean && count == 0) return ErrorValue(xlerrDiv0);
  return FiniteNumber(mean ? total / count : total);
}

Value OneCriterion(const BuiltinCall& c, bool mean) {
  const Cells range(c.Values(0));
  Cells summed = range;
  std::vector<char> meets;
  Value error;
  if (!Meeting(c, 0, 2, nullptr, &meets, &error) || (c.Given(2) && !AlongRange(c, 2, range, &summed, &error)))
    return error;
  return Summed(summed, meets, mean);
}

Value Criteria(const BuiltinCall& c, bool mean) {
  const Cells summed(c.Values(0));
  std::vector<char> meets;
  Value error;
  if (!Meeting(c, 1, c.args.size(), &summed, &meets, &error)) return error;
  return Summed(summed, meets, mean);
}

double CountOf(const std::vector<char>& meets) {
  double count = 0;
  for (char meet : meets) count += meet;
  return count;
}

}  // namespace

Value CountIf(const BuiltinCall& c) {
  std::vector<char> meets;
  Value error;
  return Meeting(c, 0, 2, nullptr, &meets, &error) ? NumberValue(CountOf(meets)) : error;
}
Value SumIf(const BuiltinCall& c) { return OneCriterion(c, false); }
Value AverageIf(const BuiltinCall& c) { return OneCriterion(c, true); }
Value CountIfs(const BuiltinCall& c) {
  std::vector<char> meets;
  Value error;
  return Meeting(c, 0, c.args.size(), nullptr, &meets, &error) ? NumberValue(CountOf(meets)) : error;
}
Value SumIfs(const BuiltinCall& c) { return Criteria(c, false); }
Value AverageIfs(const BuiltinCall& c) { return Criteria(c, true); }

}  // namespace xllhost
