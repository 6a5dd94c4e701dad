#include "builtins/FormatCodes.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

namespace xllhost {
namespace {

bool StartsWith(const std::string& text, size_t at, const char* word) {
  const size_t n = std::strlen(word);
  if (text.size() - at < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::toupper(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
  return true;
}

}  // namespace

// The sections between semicolons, outside quotes and escapes.
std::vector<std::string> FormatSections(const std::string& format) {
  std::vector<std::string> sections(1);
  bool quoted = false;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == ';' && !quoted) {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
    if (c == '"') quoted = !quoted;
    if (c == '\\' && !quoted && i + 1 < format.size()) sections.back() += format[++i];
  }
  return sections;
}

bool RefuseFormat(std::string* why, const std::string& what) {
  *why = "TEXT in a format with " + what;
  return false;
}

bool Tokenize(const std::string& section, std::vector<FormatToken>* tokens, std::string* why) {
  for (size_t i = 0; i < section.size();) {
    const char c = section[i];
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"') {
      const size_t end = section.find('"', i + 1);
      if (end == std::string::npos) return RefuseFormat(why, "an unclosed quote");
      tokens->push_back({FormatKind::Literal, section.substr(i + 1, end - i - 1)});
      i = end + 1;
    } else if (c == '\\') {
      if (i + 1 >= section.size()) return RefuseFormat(why, "a \\ at its end");
      tokens->push_back({FormatKind::Literal, section.substr(i + 1, 1)});
      i += 2;
    } else if ((lower == 'e') && i + 1 < section.size() && (section[i + 1] == '+' || section[i + 1] == '-')) {
      tokens->push_back({FormatKind::Exponent, section.substr(i + 1, 1)});
      i += 2;
    } else if (StartsWith(section, i, "AM/PM") || StartsWith(section, i, "A/P")) {
      const size_t n = StartsWith(section, i, "AM/PM") ? 5 : 3;
      const std::string written = section.substr(i, n);
      if (written != "AM/PM" && written != "A/P") return RefuseFormat(why, "AM/PM in lower case");
      tokens->push_back({FormatKind::AmPm, written});
      i += n;
    } else if (std::strchr("ymdhs", lower) != nullptr) {
      size_t end = i;
      while (end < section.size() && std::tolower(static_cast<unsigned char>(section[end])) == lower) ++end;
      tokens->push_back({FormatKind::Date, std::string(end - i, lower)});
      i = end;
    } else {
      static const struct { char c; FormatKind kind; } marks[] = {{'0', FormatKind::Zero},  {'#', FormatKind::Hash},    {'.', FormatKind::Point},
                                                            {',', FormatKind::Comma}, {'%', FormatKind::Percent}, {'@', FormatKind::At}};
      const auto* mark = std::find_if(std::begin(marks), std::end(marks), [c](const auto& m) { return m.c == c; });
      if (mark != std::end(marks)) tokens->push_back({mark->kind, std::string(1, c)});
      else if (c != '\0' && std::strchr("$-+/():!^&'~{}<>= ", c) != nullptr) tokens->push_back({FormatKind::Literal, std::string(1, c)});
      else return RefuseFormat(why, std::string("the code ") + c);
      ++i;
    }
  }
  return true;
}

}  // namespace xllhost
