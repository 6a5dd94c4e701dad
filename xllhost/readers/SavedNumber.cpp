#include "readers/SavedNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace xllhost {

std::string ShortestText(double number) {
  if (std::isnan(number)) return "nan";
  if (std::isinf(number)) return number < 0 ? "-inf" : "inf";
  // The shortest digits that read back the same, and the decimal exponent.
  char scientific[32];
  const auto written = std::to_chars(scientific, scientific + sizeof scientific, number, std::chars_format::scientific);
  std::string text(scientific, written.ptr);
  const size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits;
  for (size_t i = 0; i < e; ++i)
    if (text[i] >= '0' && text[i] <= '9') digits += text[i];
  const std::string sign = number < 0 ? "-" : "";
  if (exponent < -4 || exponent >= 16) {
    std::string mantissa = digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "");
    const std::string power = std::to_string(std::abs(exponent));
    return sign + mantissa + "e" + (exponent < 0 ? "-" : "+") + (power.size() < 2 ? "0" : "") + power;
  }
  if (exponent < 0) return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  const size_t point = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= point) return sign + digits + std::string(point - digits.size(), '0') + ".0";
  return sign + digits.substr(0, point) + "." + digits.substr(point);
}

bool WriteSavedNumber(std::string_view saved, std::string* text) {
  const bool whole = saved.find_first_of(".eE") == std::string_view::npos;
  if (whole) {
    size_t at = saved.size() > 0 && (saved[0] == '-' || saved[0] == '+') ? 1 : 0;
    const bool negative = at == 1 && saved[0] == '-';
    if (at == saved.size() || saved.find_first_not_of("0123456789", at) != std::string_view::npos) return false;
    while (at + 1 < saved.size() && saved[at] == '0') ++at;
    const std::string_view digits = saved.substr(at);
    text->assign(negative && digits != "0" ? "-" : "");
    text->append(digits);
    return true;
  }
  double number = 0;
  const char* end = saved.data() + saved.size();
  const char* from = saved.data() + (saved.size() > 0 && saved[0] == '+' ? 1 : 0);
  const auto read = std::from_chars(from, end, number);
  if (read.ec != std::errc() || read.ptr != end) return false;
  *text = ShortestText(number);
  return true;
}

}  // namespace xllhost
