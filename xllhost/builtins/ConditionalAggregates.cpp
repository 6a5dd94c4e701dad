#include "builtins/ConditionalAggregates.h"

#include <algorithm>
#include <vector>

#include "builtins/Criteria.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

// SUMIF's and AVERAGEIF's third argument: as large as the range, from its
// own first cell, whatever its size.
bool AlongRange(const BuiltinCall& c, size_t i, const Grid& range, Grid* cells, Value* error) {
  const Operand& given = c.args[i];
  if (!given.IsReference()) return *error = ErrorValue(xlerrValue), false;
  const Area area{given.area.firstRow, given.area.firstRow + range.rows - 1, given.area.firstColumn,
                  given.area.firstColumn + range.columns - 1};
  if (!area.InGrid()) return *error = ErrorValue(xlerrRef), false;
  *cells = Grid(AreaValues(c.book, given.sheet, area, c.notCalculated));
  return true;
}

// Which cells meet every criterion of the pairs of arguments (range,
// criterion) from `first` to `last`. Every range has the shape of the
// first, or of `shape` when it is given; another, or a criterion that is
// an array, is #VALUE!.
bool Meeting(const BuiltinCall& c, size_t first, size_t last, const Grid* shape, std::vector<char>* meets,
             Value* error) {
  if (last <= first || (last - first) % 2 != 0) return *error = ErrorValue(xlerrValue), false;
  int rows = shape == nullptr ? 0 : shape->rows, columns = shape == nullptr ? 0 : shape->columns;
  for (size_t i = first; i < last; i += 2) {
    const Grid range(c.Values(i));
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

// What the IFS aggregates make of the numbers among the cells that meet.
enum class Fold { Sum, Mean, Max, Min };

// The first error among the cells that meet is the answer. A mean of none
// is #DIV/0!; a largest or smallest of none, 0.
Value Summed(const Grid& cells, const std::vector<char>& meets, Fold fold) {
  double total = 0, count = 0, extreme = 0;
  for (size_t k = 0; k < meets.size(); ++k) {
    if (meets[k] == 0) continue;
    if (cells[k].Is(xltypeErr)) return cells[k];
    if (!cells[k].Is(xltypeNum)) continue;
    const double n = cells[k].num;
    extreme = count == 0 ? n : fold == Fold::Max ? std::max(extreme, n) : std::min(extreme, n);
    total += n, ++count;
  }
  if (fold == Fold::Mean && count == 0) return ErrorValue(xlerrDiv0);
  if (fold == Fold::Max || fold == Fold::Min) return NumberValue(extreme);
  return FiniteNumber(fold == Fold::Mean ? total / count : total);
}

Value OneCriterion(const BuiltinCall& c, Fold fold) {
  const Grid range(c.Values(0));
  Grid summed = range;
  std::vector<char> meets;
  Value error;
  if (!Meeting(c, 0, 2, nullptr, &meets, &error) || (c.Given(2) && !AlongRange(c, 2, range, &summed, &error)))
    return error;
  return Summed(summed, meets, fold);
}

Value Criteria(const BuiltinCall& c, Fold fold) {
  const Grid summed(c.Values(0));
  std::vector<char> meets;
  Value error;
  if (!Meeting(c, 1, c.args.size(), &summed, &meets, &error)) return error;
  return Summed(summed, meets, fold);
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
Value SumIf(const BuiltinCall& c) { return OneCriterion(c, Fold::Sum); }
Value AverageIf(const BuiltinCall& c) { return OneCriterion(c, Fold::Mean); }
Value CountIfs(const BuiltinCall& c) {
  std::vector<char> meets;
  Value error;
  return Meeting(c, 0, c.args.size(), nullptr, &meets, &error) ? NumberValue(CountOf(meets)) : error;
}
Value SumIfs(const BuiltinCall& c) { return Criteria(c, Fold::Sum); }
Value AverageIfs(const BuiltinCall& c) { return Criteria(c, Fold::Mean); }
Value MaxIfs(const BuiltinCall& c) { return Criteria(c, Fold::Max); }
Value MinIfs(const BuiltinCall& c) { return Criteria(c, Fold::Min); }

}  // namespace xllhost
