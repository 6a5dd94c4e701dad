#include "builtins/NumberFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "builtins/DateFormat.h"
#include "builtins/FormatCodes.h"

namespace xllhost {
namespace {

// The number (not below 0) rounded to `decimals` places as Excel rounds
// what it shows: on its 15 significant digits, halves away from zero.
void Decimal(double n, int decimals, std::string* whole, std::string* fraction) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", n);  // d.dddddddddddddde+XX
  std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 14);
  int point = std::atoi(std::strchr(buffer, 'e') + 1) + 1;  // digits before the decimal point
  if (point <= 0) digits.insert(0, static_cast<size_t>(1 - point), '0'), point = 1;
  const size_t cut = static_cast<size_t>(point + decimals);
  if (digits.size() <= cut) digits.append(cut + 1 - digits.size(), '0');
  const bool up = digits[cut] >= '5';
  digits.resize(cut);
  for (size_t i = cut; up && i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      break;
    }
    digits[i] = '0';
    if (i == 0) digits.insert(0, "1"), ++point;
  }
  *whole = digits.substr(0, static_cast<size_t>(point));
  whole->erase(0, std::min(whole->find_first_not_of('0'), whole->size() - 1));
  *fraction = digits.substr(static_cast<size_t>(point));
}

bool IsPlaceholder(const FormatToken& t) { return t.kind == FormatKind::Zero || t.kind == FormatKind::Hash; }

// The literals before the first digit, the number, the literals after:
// none stands between digits. A format of literals alone hides the number.
std::string Laid(const std::vector<FormatToken>& tokens, int first, const std::string& number) {
  std::string text;
  for (int i = 0; i < static_cast<int>(tokens.size()); ++i) {
    const FormatToken& t = tokens[static_cast<size_t>(i)];
    if (i == first) text += number;
    if (t.kind == FormatKind::Literal) text += t.text;
    if (t.kind == FormatKind::Percent) text += "%";
  }
  return text;
}

bool WriteNumber(double n, const std::vector<FormatToken>& tokens, std::string* text, std::string* why) {
  int first = -1, last = -1, point = -1, exponent = -1, scale = 0, percents = 0;
  for (int i = 0; i < static_cast<int>(tokens.size()); ++i) {
    const FormatKind kind = tokens[static_cast<size_t>(i)].kind;
    if (IsPlaceholder(tokens[static_cast<size_t>(i)])) last = i, first = first < 0 ? i : first;
    if (kind == FormatKind::Point && point < 0 && exponent < 0) point = i;
    if (kind == FormatKind::Exponent) exponent = i;
    percents += kind == FormatKind::Percent;
    if (kind == FormatKind::At) return RefuseFormat(why, "@ for a number");
  }
  int intZeros = 0, fracZeros = 0, fracPlaces = 0, expZeros = 0;
  bool thousands = false;
  for (int i = 0; i < static_cast<int>(tokens.size()); ++i) {
    const FormatToken& t = tokens[static_cast<size_t>(i)];
    const bool inFraction = point >= 0 && i > point && (exponent < 0 || i < exponent), inExponent = exponent >= 0 && i > exponent;
    if (first >= 0 && i > first && i < last && (t.kind == FormatKind::Literal || t.kind == FormatKind::Percent))
      return RefuseFormat(why, "text between its digits");
    if (t.kind == FormatKind::Point && i != point) return RefuseFormat(why, "a second decimal point");
    if (t.kind == FormatKind::Comma) {
      // After the last digit it divides by 1,000; between the whole
      // number's digits it separates thousands.
      bool digitAfter = false;
      for (int j = i + 1; j < static_cast<int>(tokens.size()) && (exponent < 0 || j < exponent); ++j)
        digitAfter |= IsPlaceholder(tokens[static_cast<size_t>(j)]);
      if (i > first && !digitAfter && !inExponent) ++scale;
      else if (i > first && digitAfter && !inFraction && !inExponent) thousands = true;
      else return RefuseFormat(why, "a comma that neither separates thousands nor scales");
    }
    if (!IsPlaceholder(t)) continue;
    if (inExponent) expZeros += 1;
    else if (inFraction) fracZeros += t.kind == FormatKind::Zero && fracZeros == fracPlaces, ++fracPlaces;
    else intZeros += t.kind == FormatKind::Zero;
  }
  n = n * std::pow(100.0, percents) / std::pow(1000.0, scale);
  if (!std::isfinite(n)) return RefuseFormat(why, "percent signs past what a number holds");
  std::string whole, fraction, power;
  if (exponent >= 0) {
    int places = 0;
    for (int i = first; i < (point >= 0 ? point : exponent); ++i) places += IsPlaceholder(tokens[static_cast<size_t>(i)]);
    if (places != 1 || thousands) return RefuseFormat(why, "an exponent after more than one digit");
    int e = n == 0 ? 0 : static_cast<int>(std::floor(std::log10(n)));
    Decimal(n / std::pow(10.0, e), fracPlaces, &whole, &fraction);
    if (whole == "10") Decimal(n / std::pow(10.0, ++e), fracPlaces, &whole, &fraction);
    std::string digits = std::to_string(std::abs(e));
    if (digits.size() < static_cast<size_t>(expZeros)) digits.insert(0, static_cast<size_t>(expZeros) - digits.size(), '0');
    power = std::string("E") + (e < 0 ? "-" : tokens[static_cast<size_t>(exponent)].text == "+" ? "+" : "") + digits;
  } else {
    Decimal(n, fracPlaces, &whole, &fraction);
  }
  if (whole == "0") whole.clear();
  if (whole.size() < static_cast<size_t>(intZeros)) whole.insert(0, static_cast<size_t>(intZeros) - whole.size(), '0');
  if (thousands)
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(static_cast<size_t>(i), ",");
  while (fraction.size() > static_cast<size_t>(fracZeros) && fraction.back() == '0') fraction.pop_back();
  *text = Laid(tokens, first, whole + (point >= 0 ? "." + fraction : "") + power);
  return true;
}

bool Write(double n, const std::string& section, std::string* text, std::string* why) {
  std::string trimmed = section;
  for (char& c : trimmed) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (trimmed == "general") {
    if (n != std::floor(n) || std::fabs(n) >= 1e11) return RefuseFormat(why, "General for a number that is not whole");
    *text = std::to_string(static_cast<long long>(n));
    return true;
  }
  std::vector<FormatToken> tokens;
  if (!Tokenize(section, &tokens, why)) return false;
  for (const FormatToken& t : tokens)
    if (t.kind == FormatKind::Date || t.kind == FormatKind::AmPm) return WriteDate(n, tokens, text, why);
  return WriteNumber(n, tokens, text, why);
}

}  // namespace

bool FormatNumber(double number, const std::string& format, std::string* text, std::string* why) {
  const std::vector<std::string> sections = FormatSections(format);
  if (sections.size() > 4) return RefuseFormat(why, "more than four sections");
  if (number < 0 && sections.size() >= 2) return Write(-number, sections[1], text, why);
  if (number == 0 && sections.size() >= 3) return Write(0, sections[2], text, why);
  if (number >= 0) return Write(number, sections[0], text, why);
  if (!Write(-number, sections[0], text, why)) return false;
  if (text->find_first_of("123456789") == std::string::npos) return RefuseFormat(why, "a negative number shown as 0");
  text->insert(0, "-");
  return true;
}

bool FormatText(const std::string& value, const std::string& format, std::string* text, std::string* why) {
  const std::vector<std::string> sections = FormatSections(format);
  const std::string* section = sections.size() == 4 ? &sections[3] : nullptr;
  if (section == nullptr && sections[0].find('@') != std::string::npos) section = &sections[0];
  if (section == nullptr) return *text = value, true;
  std::vector<FormatToken> tokens;
  if (!Tokenize(*section, &tokens, why)) return false;
  text->clear();
  for (const FormatToken& t : tokens) {
    if (t.kind == FormatKind::At) *text += value;
    else if (t.kind == FormatKind::Literal) *text += t.text;
    else return RefuseFormat(why, "digits or dates in its section for texts");
  }
  return true;
}

}  // namespace xllhost
