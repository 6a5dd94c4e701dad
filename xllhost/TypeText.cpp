#include "TypeText.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace xllhost {
namespace {

struct Letter {
  const char* letters;
  TypeCode code;
};
// Two-letter codes first, so that C% is not read as C.
const Letter Letters_[] = {
    {"C%", TypeCode::WideText},      {"D%", TypeCode::WideCounted},
    {"F%", TypeCode::InPlaceWide},   {"G%", TypeCode::InPlaceWideCounted},
    {"A", TypeCode::Boolean},        {"B", TypeCode::Number},
    {"C", TypeCode::Text},           {"D", TypeCode::CountedText},
    {"E", TypeCode::NumberRef},      {"F", TypeCode::InPlaceText},
    {"G", TypeCode::InPlaceCounted}, {"H", TypeCode::Word},
    {"I", TypeCode::Short},          {"J", TypeCode::Long},
    {"L", TypeCode::BooleanRef},     {"M", TypeCode::ShortRef},
    {"N", TypeCode::LongRef},        {"P", TypeCode::Oper},
    {"R", TypeCode::OperRef},        {"Q", TypeCode::Oper12},
    {"U", TypeCode::Oper12Ref},
};

// Reads one code at `at`, or answers false.
bool ReadCode(const std::string& text, size_t& at, TypeCode* code) {
  for (const Letter& letter : Letters_) {
    std::string letters = letter.letters;
    if (text.compare(at, letters.size(), letters) == 0) {
      *code = letter.code;
      at += letters.size();
      return true;
    }
  }
  return false;
}

std::string Unsupported(const std::string& text, size_t at) {
  std::string letter = text.substr(at, at + 1 < text.size() && text[at + 1] == '%' ? 2 : 1);
  const std::string documented[] = {"K", "K%", "O", "O%", "X"};  // Excel's, which xllhost does not pass
  bool known = std::find(std::begin(documented), std::end(documented), letter) != std::end(documented);
  return "the type text \"" + text + "\" has the letter " + letter +
         (known ? ", which xllhost does not support" : ", which is no type code");
}

}  // namespace

bool ParseTypeText(const std::string& text, Signature* signature, std::string* why) {
  Signature parsed;
  size_t at = 0;
  if (text.empty()) {
    *why = "the type text is empty";
    return false;
  }
  // A digit, or > for the first argument, says the function returns by
  // modifying that argument; F, G, F% and G% say the same of the first
  // argument of their type.
  if (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '>') {
    parsed.resultArgument = text[0] == '>' ? 1 : text[0] - '0';
    if (parsed.resultArgument == 0) {
      *why = "the type text \"" + text + "\" returns argument 0";
      return false;
    }
    ++at;
  } else if (!ReadCode(text, at, &parsed.result)) {
    *why = Unsupported(text, at);
    return false;
  }
  while (at < text.size() && std::string("!$#&").find(text[at]) == std::string::npos) {
    TypeCode code;
    if (!ReadCode(text, at, &code)) {
      *why = Unsupported(text, at);
      return false;
    }
    parsed.args.push_back(code);
  }
  for (; at < text.size(); ++at) {
    if (std::string("!$#&").find(text[at]) == std::string::npos) {
      *why = "the type text \"" + text + "\" has " + text.substr(at) + " after its markers";
      return false;
    }
    parsed.markers += text[at];
  }
  if (parsed.args.size() > MaxArguments) {
    *why = "the type text \"" + text + "\" has " + std::to_string(parsed.args.size()) +
           " arguments; xllhost passes at most " + std::to_string(MaxArguments);
    return false;
  }
  if (IsInPlace(parsed.result)) {
    for (size_t i = 0; i < parsed.args.size() && parsed.resultArgument == 0; ++i)
      if (parsed.args[i] == parsed.result) parsed.resultArgument = static_cast<int>(i) + 1;
    if (parsed.resultArgument == 0) {
      *why = "the type text \"" + text + "\" returns " + Letters(parsed.result) + " but has no argument of that type";
      return false;
    }
  } else if (parsed.resultArgument != 0) {
    if (parsed.resultArgument > static_cast<int>(parsed.args.size()) ||
        !IsPointer(parsed.args[parsed.resultArgument - 1])) {
      *why = "the type text \"" + text + "\" returns argument " + std::to_string(parsed.resultArgument) +
             ", which is no argument passed by reference";
      return false;
    }
  }
  *signature = parsed;
  return true;
}

const char* Letters(TypeCode code) {
  for (const Letter& letter : Letters_)
    if (letter.code == code) return letter.letters;
  return "";
}

bool IsPointer(TypeCode code) {
  switch (code) {
    case TypeCode::Boolean:
    case TypeCode::Number:
    case TypeCode::Word:
    case TypeCode::Short:
    case TypeCode::Long:
    case TypeCode::None: return false;
    default: return true;
  }
}

bool IsInPlace(TypeCode code) {
  return code == TypeCode::InPlaceText || code == TypeCode::InPlaceCounted || code == TypeCode::InPlaceWide ||
         code == TypeCode::InPlaceWideCounted;
}

bool IsWideCode(TypeCode code) {
  return code == TypeCode::WideText || code == TypeCode::WideCounted || code == TypeCode::InPlaceWide ||
         code == TypeCode::InPlaceWideCounted || code == TypeCode::Oper12 || code == TypeCode::Oper12Ref;
}

}  // namespace xllhost
