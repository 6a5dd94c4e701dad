#include "records/TypeText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>

#include "UTypes.h"

namespace xllhost {
namespace {

constexpr std::uint32_t Num = xltypeNum, Str = xltypeStr, Bool = xltypeBool, Multi = xltypeMulti;
constexpr double Int16Low = -32768, Int16High = 32767, Int32Low = -2147483648.0, Int32High = 2147483647.0;

// Excel's table of type codes. Two-letter codes come first, so that C% is
// not read as C. Buffers of the in-place codes hold 256 bytes, or 65,536 for
// wide text, as Excel allocates them.
using T = TypeCode;
using S = Storage;
const TypeInfo Table[] = {
    // code                  letters storage   by ref counted in place wide   converts range
    {T::WideText,            "C%", S::Wide,    true,  false, false, true,  Str,  0, 0},
    {T::WideCounted,         "D%", S::Wide,    true,  true,  false, true,  Str,  0, 0},
    {T::InPlaceWide,         "F%", S::Wide,    true,  false, true,  true,  Str,  0, 0},
    {T::InPlaceWideCounted,  "G%", S::Wide,    true,  true,  true,  true,  Str,  0, 0},
    {T::Numbers12,           "K%", S::Fp12,    true,  false, false, true,  Multi, 0, 0},
    {T::Doubles12,           "O%", S::Doubles12, true, false, false, true, Multi, 0, 0},
    {T::Boolean,             "A",  S::Short,   false, false, false, false, Bool, 0, 0},
    {T::Number,              "B",  S::Double,  false, false, false, false, Num,  0, 0},
    {T::Text,                "C",  S::Bytes,   true,  false, false, false, Str,  0, 0},
    {T::CountedText,         "D",  S::Bytes,   true,  true,  false, false, Str,  0, 0},
    {T::NumberRef,           "E",  S::Double,  true,  false, false, false, Num,  0, 0},
    {T::InPlaceText,         "F",  S::Bytes,   true,  false, true,  false, Str,  0, 0},
    {T::InPlaceCounted,      "G",  S::Bytes,   true,  true,  true,  false, Str,  0, 0},
    {T::Word,                "H",  S::Word,    false, false, false, false, Num,  0, 65535},
    {T::Short,               "I",  S::Short,   false, false, false, false, Num,  Int16Low, Int16High},
    {T::Long,                "J",  S::Long,    false, false, false, false, Num,  Int32Low, Int32High},
    {T::Numbers,             "K",  S::Fp,      true,  false, false, false, Multi, 0, 0},
    {T::BooleanRef,          "L",  S::Short,   true,  false, false, false, Bool, 0, 0},
    {T::ShortRef,            "M",  S::Short,   true,  false, false, false, Num,  Int16Low, Int16High},
    {T::LongRef,             "N",  S::Long,    true,  false, false, false, Num,  Int32Low, Int32High},
    {T::Doubles,             "O",  S::Doubles, true,  false, false, false, Multi, 0, 0},
    {T::Oper,                "P",  S::Oper,    true,  false, false, false, 0,    0, 0},
    {T::OperRef,             "R",  S::Oper,    true,  false, false, false, 0,    0, 0},
    {T::Oper12,              "Q",  S::Oper12,  true,  false, false, true,  0,    0, 0},
    {T::Oper12Ref,           "U",  S::Oper12,  true,  false, false, true,  0,    0, 0},
    {T::AsyncHandle,         "X",  S::Oper12,  true,  false, false, true,  0,    0, 0},
    {T::None,                "",   S::None,    false, false, false, false, 0,    0, 0},
};

// Reads one code at `at`, or answers false.
bool ReadCode(const std::string& text, size_t& at, TypeCode* code) {
  for (const TypeInfo& row : Table) {
    std::string letters = row.letters;
    if (!letters.empty() && text.compare(at, letters.size(), letters) == 0) {
      *code = row.code;
      at += letters.size();
      return true;
    }
  }
  return false;
}

std::string Unsupported(const std::string& text, size_t at) {
  const std::string letter = text.substr(at, at + 1 < text.size() && text[at + 1] == '%' ? 2 : 1);
  return "the type text \"" + text + "\" has the letter " + letter + ", which is no type code";
}

// The machine words the arguments take: an O or O% passes three.
size_t Words(const ArgumentCodes& args) {
  size_t words = args.size();
  for (TypeCode code : args) words += PassesCounts(Info(code).storage) ? 2 : 0;
  return words;
}

// An asynchronous function takes one X and returns void, written > first,
// which then modifies no argument; it cannot be cluster-safe
// (xlfregister-form-1.md, asynchronous-user-defined-functions.md).
bool ReadAsynchronous(const std::string& text, Signature& parsed, std::string* why) {
  const auto handles = std::count(parsed.args.begin(), parsed.args.end(), TypeCode::AsyncHandle);
  if (handles == 0) return true;
  std::string wrong;
  if (handles > 1) wrong = "has more than one asynchronous handle (X)";
  else if (text[0] != '>') wrong = "has an asynchronous handle (X) but does not start with >";
  else if (parsed.markers.find('&') != std::string::npos) wrong = "is both asynchronous (X) and cluster-safe (&)";
  if (!wrong.empty()) {
    *why = "the type text \"" + text + "\" " + wrong;
    return false;
  }
  parsed.asyncHandle = static_cast<int>(std::find(parsed.args.begin(), parsed.args.end(), TypeCode::AsyncHandle) -
                                        parsed.args.begin()) + 1;
  parsed.resultArgument = 0;
  return true;
}

// What the function answers: its return, or the argument it modifies,
// which must be one passed by reference; an in-place return type takes the
// first argument of its type. O and O% are arguments only.
bool ReadResult(const std::string& text, Signature& parsed, std::string* why) {
  const std::string quoted = "the type text \"" + text + "\" ";
  if (parsed.resultArgument == 0 && PassesCounts(Info(parsed.result).storage)) {
    *why = quoted + "returns " + Info(parsed.result).letters +
           ", which Excel passes only as an argument (xlfregister-form-1.md)";
    return false;
  }
  if (Info(parsed.result).inPlace) {
    for (size_t i = 0; i < parsed.args.size() && parsed.resultArgument == 0; ++i)
      if (parsed.args[i] == parsed.result) parsed.resultArgument = static_cast<int>(i) + 1;
    if (parsed.resultArgument == 0) *why = quoted + "returns " + Info(parsed.result).letters + " but has no argument of that type";
    return parsed.resultArgument != 0;
  }
  if (parsed.resultArgument != 0 && (parsed.resultArgument > static_cast<int>(parsed.args.size()) ||
                                     !Info(parsed.args[parsed.resultArgument - 1]).byReference)) {
    *why = quoted + "returns argument " + std::to_string(parsed.resultArgument) + ", which is no argument passed by reference";
    return false;
  }
  return true;
}

}  // namespace

bool ParseTypeText(const std::string& text, Signature* signature, std::string* why, bool* lacking) {
  bool lacks = false;
  if (lacking == nullptr) lacking = &lacks;
  *lacking = false;
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
  if (Words(parsed.args) > MaxArguments) {
    *why = "the type text \"" + text + "\" passes " + std::to_string(Words(parsed.args)) +
           " words of arguments; xllhost passes at most " + std::to_string(MaxArguments);
    *lacking = true;
    return false;
  }
  if (!ReadAsynchronous(text, parsed, why) || !ReadResult(text, parsed, why)) return false;
  *signature = parsed;
  return true;
}

const TypeInfo& Info(TypeCode code) {
  // Asked several times in every call of an add-in's function: each code's
  // row is found once.
  static const auto rows = [] {
    std::array<const TypeInfo*, static_cast<size_t>(TypeCode::None) + 1> byCode{};
    for (const TypeInfo& row : Table) byCode[static_cast<size_t>(row.code)] = &row;
    return byCode;
  }();
  const auto at = static_cast<size_t>(code);
  return at < rows.size() && rows[at] != nullptr ? *rows[at] : Table[std::size(Table) - 1];
}

}  // namespace xllhost
