#include "builtins/Operands.h"

#include "workbook/CellState.h"

namespace xllhost {

namespace {

Value Read(const Workbook& book, int sheet, const Cell& cell, std::string* notCalculated) {
  if (!Uncalculated(cell)) return cell.value;
  if (notCalculated->empty())
    *notCalculated = "needs " + book.Where(sheet, cell.row, cell.column) + ", which is not calculated";
  return ValueNow(cell);
}

}  // namespace

bool AsReference(const Workbook& book, const Value& value, int sheet, Operand* operand) {
  if (value.Is(xltypeRef)) sheet = value.areas == 1 ? book.SheetOfId(value.sheetId) : -1;
  else if (!value.Is(xltypeSRef)) sheet = -1;
  const Area area{value.row, value.lastRow, value.column, value.lastColumn};
  if (sheet < 0 || !area.InGrid()) return false;
  operand->sheet = sheet;
  operand->area = area;
  return true;
}

Value AreaValues(const Workbook& book, int sheet, const Area& area, std::string* notCalculated) {
  if (area.IsCell()) {
    const Cell* cell = book.Find(sheet, area.firstRow, area.firstColumn);
    return cell == nullptr ? Value{} : Read(book, sheet, *cell, notCalculated);
  }
  const size_t count = static_cast<size_t>(area.Rows()) * static_cast<size_t>(area.Columns());
  if (count > MaxArrayCells) {
    *notCalculated = "takes " + AreaName(area) + " as an array of " + std::to_string(count) +
                     " values, more than xllhost passes (" + std::to_string(MaxArrayCells) + ")";
    return ErrorValue(xlerrNA);
  }
  Value array = ArrayValue(static_cast<size_t>(area.Rows()), static_cast<size_t>(area.Columns()));
  book.ForEachIn(sheet, area, [&](const Cell& cell) {
    array.elements[static_cast<size_t>(cell.row - area.firstRow) * static_cast<size_t>(array.columns) +
                   static_cast<size_t>(cell.column - area.firstColumn)] = Read(book, sheet, cell, notCalculated);
  });
  return array;
}

Value IntersectedValue(const Workbook& book, const Place& place, const Operand& operand, std::string* notCalculated) {
  if (!operand.IsReference()) return operand.value;
  const Area& area = operand.area;
  int row = area.firstRow, column = area.firstColumn;
  if (!area.IsCell()) {
    if (area.Columns() == 1 && place.row >= area.firstRow && place.row <= area.lastRow && operand.sheet == place.sheet)
      row = place.row;
    else if (area.Rows() == 1 && place.column >= area.firstColumn && place.column <= area.lastColumn &&
             operand.sheet == place.sheet)
      column = place.column;
    else
      return ErrorValue(xlerrValue);
  }
  const Cell* cell = book.Find(operand.sheet, row, column);
  return cell == nullptr ? Value{} : Read(book, operand.sheet, *cell, notCalculated);
}

}  // namespace xllhost
