#include "readers/SharedFormula.h"

#include <cctype>
#include <cstring>

namespace xllhost {
namespace {

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// A column's letters moved; "" past the grid's 16,384 columns or before A.
std::string MoveColumn(const std::string& letters, int by) {
  int column = 0;
  for (char c : letters) column = column * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
  column += by;
  if (column < 1 || column > 16384) return "";
  std::string moved;
  for (; column > 0; column = (column - 1) / 26) moved.insert(moved.begin(), static_cast<char>('A' + (column - 1) % 26));
  return moved;
}

std::string MoveRow(const std::string& digits, int by) {
  const long row = std::stol(digits) + by;
  return row < 1 || row > 1048576 ? "" : std::to_string(row);
}

// One part of a reference: "$?letters" and/or "$?digits" as `shape` asks
// ('c' column, 'r' row, 'b' both); answers false when the text is no such
// part or the moved part leaves the grid (the text then stays).
bool MovePart(const std::string& text, char shape, int rows, int columns, std::string* moved) {
  size_t at = 0;
  std::string out;
  if (shape != 'r') {
    const bool fixed = at < text.size() && text[at] == '$';
    const size_t start = at + fixed;
    size_t end = start;
    while (end < text.size() && IsLetter(text[end])) ++end;
    if (end == start || end - start > 3) return false;
    const std::string letters = text.substr(start, end - start);
    const std::string column = fixed ? letters : MoveColumn(letters, columns);
    if (column.empty()) return false;
    out += (fixed ? "$" : "") + column;
    at = end;
  }
  if (shape != 'c') {
    const bool fixed = at < text.size() && text[at] == '$';
    const size_t start = at + fixed;
    size_t end = start;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end == start || end - start > 7 || text[start] == '0') return false;
    const std::string digits = text.substr(start, end - start);
    const std::string row = fixed ? digits : MoveRow(digits, rows);
    if (row.empty()) return false;
    out += (fixed ? "$" : "") + row;
    at = end;
  }
  if (at != text.size()) return false;
  *moved = out;
  return true;
}

// An operand: a cell (A1), a rectangle (A1:B2), whole rows (1:2) or columns
// (A:B), each after an optional "Sheet!"; anything else (a name) stays.
std::string MoveOperand(const std::string& operand, int rows, int columns) {
  const size_t bang = operand.rfind('!');
  const std::string sheet = bang == std::string::npos ? "" : operand.substr(0, bang + 1);
  const std::string range = operand.substr(sheet.size());
  const size_t colon = range.find(':');
  std::string first, second;
  if (colon == std::string::npos)
    return MovePart(range, 'b', rows, columns, &first) ? sheet + first : operand;
  const std::string left = range.substr(0, colon), right = range.substr(colon + 1);
  for (char shape : {'r', 'c', 'b'})
    if (MovePart(left, shape, rows, columns, &first) && MovePart(right, shape, rows, columns, &second))
      return sheet + first + ":" + second;
  return operand;
}

// Characters that end an operand, as a formula's operators and separators do.
bool EndsOperand(char c) { return std::strchr(",;}) +-*/^&=><%\n{(", c) != nullptr; }

}  // namespace

std::string MoveFormula(const std::string& formula, int rows, int columns) {
  std::string moved;
  size_t at = 0;
  while (at < formula.size()) {
    const char c = formula[at];
    if (c == '"') {  // a text: "" inside stands for one quote
      size_t end = at + 1;
      while (end < formula.size() && !(formula[end] == '"' && (end + 1 >= formula.size() || formula[end + 1] != '"')))
        end += formula[end] == '"' ? 2 : 1;
      moved.append(formula, at, end + 1 - at);
      at = end + 1;
    } else if (c == ' ' || c == '\n') {
      moved += c;
      while (at < formula.size() && (formula[at] == ' ' || formula[at] == '\n')) ++at;
    } else if (EndsOperand(c)) {
      moved += c;
      ++at;
    } else {
      // An operand runs to an operator; quoted sheet names and brackets hold any character.
      size_t end = at;
      while (end < formula.size() && !EndsOperand(formula[end])) {
        const char open = formula[end];
        if (open == '\'' || open == '[') {
          const char close = open == '\'' ? '\'' : ']';
          end = formula.find(close, end + 1);
          if (end == std::string::npos) end = formula.size() - 1;
        }
        ++end;
      }
      const std::string operand = formula.substr(at, end - at);
      const bool call = end < formula.size() && formula[end] == '(';
      const bool literal = IsDigit(operand[0]) && operand.find(':') == std::string::npos;
      moved += call || literal || operand[0] == '#' ? operand : MoveOperand(operand, rows, columns);
      at = end;
    }
  }
  return moved;
}

}  // namespace xllhost
