#include "builtins/TextSplit.h"

#include <algorithm>
#include <string>
#include <vector>

#include "builtins/Characters.h"
#include "builtins/Operators.h"

namespace xllhost {
namespace {

// The delimiters argument `i` gives, matched as `key` texts are: a text, or
// an array of them; an empty one stands for none.
bool Delimiters(const BuiltinCall& c, size_t i, bool withoutCase, std::vector<std::string>* out, Value* error) {
  if (!c.Given(i)) return true;
  const Grid given(c.Values(i));
  for (size_t k = 0; k < given.Count(); ++k) {
    std::string text;
    if (!AsText(given[k], &text, error)) return false;
    if (withoutCase && !IsAscii(text)) return *error = c.NotCalculated("TEXTSPLIT without case beyond ASCII"), false;
    if (!text.empty()) out->push_back(withoutCase ? Upper(text) : text);
  }
  return true;
}

// The pieces of the text between delimiters, found in `key` (the text, or
// the text upper-cased): at each place the longest delimiter that starts there.
std::vector<std::string> Pieces(const std::string& text, bool withoutCase, const std::vector<std::string>& delimiters) {
  const std::string key = withoutCase ? Upper(text) : text;
  std::vector<std::string> pieces;
  size_t from = 0;
  for (size_t at = 0; at < key.size();) {
    size_t length = 0;
    for (const std::string& delimiter : delimiters)
      if (delimiter.size() > length && key.compare(at, delimiter.size(), delimiter) == 0) length = delimiter.size();
    if (length == 0) {
      ++at;
      continue;
    }
    pieces.push_back(text.substr(from, at - from));
    at += length;
    from = at;
  }
  pieces.push_back(text.substr(from));
  return pieces;
}

}  // namespace

Value TextSplit(const BuiltinCall& c) {
  const Value given = c.Scalar(0);
  if (given.Is(xltypeMulti)) return c.NotCalculated("TEXTSPLIT of an array of texts");
  std::string text;
  bool ignoreEmpty = false;
  double mode = 0;
  Value error;
  if (!AsText(given, &text, &error) || (c.Given(3) && !AsBoolean(c.Scalar(3), &ignoreEmpty, &error)) ||
      (c.Given(4) && !AsNumber(c.Scalar(4), &mode, &error)))
    return error;
  if (mode != 0 && mode != 1) return ErrorValue(xlerrValue);
  const bool withoutCase = mode == 1;
  if (withoutCase && !IsAscii(text)) return c.NotCalculated("TEXTSPLIT without case beyond ASCII");
  std::vector<std::string> across, down;
  if (!Delimiters(c, 1, withoutCase, &across, &error) || !Delimiters(c, 2, withoutCase, &down, &error)) return error;
  if (across.empty() && down.empty()) return ErrorValue(xlerrValue);
  std::vector<std::vector<std::string>> lines;
  size_t width = 0;
  for (const std::string& row : Pieces(text, withoutCase, down)) {
    std::vector<std::string> cells = Pieces(row, withoutCase, across);
    if (ignoreEmpty) cells.erase(std::remove(cells.begin(), cells.end(), std::string()), cells.end());
    if (cells.empty()) continue;
    width = std::max(width, cells.size());
    lines.push_back(std::move(cells));
  }
  if (lines.empty()) return c.NotCalculated("TEXTSPLIT of an empty array");
  const Value pad = c.Given(5) ? c.Scalar(5) : ErrorValue(xlerrNA);
  Value array = ArrayValue(lines.size(), width);
  for (size_t r = 0; r < lines.size(); ++r)
    for (size_t k = 0; k < width; ++k) array.elements[r * width + k] = k < lines[r].size() ? TextValue(lines[r][k]) : pad;
  return array;
}

}  // namespace xllhost
