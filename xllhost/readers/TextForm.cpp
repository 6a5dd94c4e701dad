#include "readers/TextForm.h"

#include <cstdio>

#include "readers/SavedNumber.h"

namespace xllhost {

// "B3" as row 2, column 1; false for no cell of the grid.
bool ReadCellReference(const char* name, int* row, int* column) {
  int c = 0, r = 0, letters = 0, digits = 0;
  for (; *name >= 'A' && *name <= 'Z' && letters < 4; ++name, ++letters) c = c * 26 + (*name - 'A' + 1);
  for (; *name >= '0' && *name <= '9' && digits < 8; ++name, ++digits) r = r * 10 + (*name - '0');
  if (*name != '\0' || letters == 0 || digits == 0 || c - 1 > LastColumn || r < 1 || r - 1 > LastRow) return false;
  *row = r - 1;
  *column = c - 1;
  return true;
}

std::string CellReference(int row, int column) {
  std::string letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row + 1);
}

// A date saved as text (t="d", ISO 8601) as its serial number in the 1900
// date system.
bool DateSerial(const std::string& iso, std::string* text) {
  int y = 0, m = 0, d = 0, hh = 0, mm = 0;
  double ss = 0;
  if (std::sscanf(iso.c_str(), "%d-%d-%d", &y, &m, &d) != 3) return false;
  const size_t time = iso.find('T');
  if (time != std::string::npos) std::sscanf(iso.c_str() + time + 1, "%d:%d:%lf", &hh, &mm, &ss);
  // Days from 1970-01-01 (the civil calendar), then from Excel's day 0, 1899-12-30.
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400, doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468 + 25569;
  *text = ShortestText(static_cast<double>(days) + (hh * 3600 + mm * 60 + ss) / 86400.0);
  return true;
}

std::string Quoted(const std::string& text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

bool ConstantText(const std::string& type, const std::string& saved, std::string* text) {
  static const char* const errors[] = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A",
                                       "#GETTING_DATA"};
  if (type == "b") return *text = saved == "1" || saved == "true" ? "TRUE" : "FALSE", true;
  if (type == "e") {
    for (const char* error : errors)
      if (saved == error) return *text = saved, true;
    return *text = Quoted(saved), true;
  }
  if (type == "n" || type.empty()) return WriteSavedNumber(saved, text);
  return *text = Quoted(saved), true;
}

void AppendEscaped(std::initializer_list<std::string_view> parts, std::string* out) {
  for (std::string_view part : parts) {
    for (size_t at = 0; at < part.size();) {
      size_t special = at;
      while (special < part.size() && part[special] != '\\' && static_cast<unsigned char>(part[special]) >= ' ')
        ++special;
      if (special < part.size() && part[special] != '\\' && part[special] != '\n' && part[special] != '\r' &&
          part[special] != '\t') {
        out->append(part.data() + at, special + 1 - at);  // another control character stands as it is
        at = special + 1;
        continue;
      }
      out->append(part.data() + at, special - at);
      if (special == part.size()) break;
      const char c = part[special];
      out->append(c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t");
      at = special + 1;
    }
  }
  *out += '\n';
}

}  // namespace xllhost
