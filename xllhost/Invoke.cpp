#include "Invoke.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <type_traits>
#include <utility>

#include "HostState.h"

namespace xllhost {
namespace {

// One argument: the storage Excel prepares for it, what goes on the stack
// or in a register, and the memory the add-in may not change.
struct Argument {
  TypeCode code = TypeCode::None;
  double number = 0;
  std::int16_t shortValue = 0;
  std::int32_t longValue = 0;
  std::vector<char> bytes;        // C, D, F, G
  std::vector<XCHAR> wide;        // C%, D%, F%, G%
  XLOPER oper{};                  // P, R
  XLOPER12 oper12{};              // Q, U
  std::deque<std::string> texts;  // the counted strings and arrays of the records
  std::deque<std::wstring> wideTexts;
  std::deque<std::vector<XLOPER>> arrays;
  std::deque<std::vector<XLOPER12>> wideArrays;

  bool isDouble = false;
  std::uint64_t word = 0;                               // an integer, a pointer, or a double's bits
  std::vector<std::pair<const void*, size_t>> guarded;  // memory the add-in may not change
  std::vector<std::string> before;                      // its bytes before the call

  void Guard(const void* memory, size_t size) { guarded.emplace_back(memory, size); }
  void TakeSnapshot() {
    for (const auto& [memory, size] : guarded) before.emplace_back(static_cast<const char*>(memory), size);
  }
  bool Changed() const {
    for (size_t i = 0; i < guarded.size(); ++i)
      if (std::memcmp(guarded[i].first, before[i].data(), guarded[i].second) != 0) return true;
    return false;
  }

  // The storage WriteRecord keeps a record's strings and arrays in.
  template <typename Char>
  Char* Keep(const std::basic_string<Char>& counted) {
    auto& kept = Kept(static_cast<Char*>(nullptr));
    kept.push_back(counted);
    Guard(kept.back().data(), kept.back().size() * sizeof(Char));
    return kept.back().data();
  }
  template <typename Record>
  Record* KeepArray(size_t count) {
    auto& kept = Kept(static_cast<Record*>(nullptr));
    kept.emplace_back(count);
    Guard(kept.back().data(), count * sizeof(Record));
    return kept.back().data();
  }
  std::deque<std::string>& Kept(char*) { return texts; }
  std::deque<std::wstring>& Kept(XCHAR*) { return wideTexts; }
  std::deque<std::vector<XLOPER>>& Kept(XLOPER*) { return arrays; }
  std::deque<std::vector<XLOPER12>>& Kept(XLOPER12*) { return wideArrays; }
};

// A text argument in a buffer of its own: null-terminated or counted. Excel
// allocates 256 bytes (65,536 for wide text) for a string the function may
// change. A text too long for a count does not fit.
template <typename Char>
bool PrepareText(const std::string& text, bool counted, bool inPlace, std::vector<Char>& buffer) {
  std::basic_string<Char> encoded = Encoded<Char>(text);
  if (encoded.size() > MaxCount<Char>) return false;
  buffer.assign(inPlace ? MaxCount<Char> + 1 : encoded.size() + 1, Char{});
  if (counted) buffer[0] = static_cast<Char>(encoded.size());
  std::copy(encoded.begin(), encoded.end(), buffer.begin() + (counted ? 1 : 0));
  return true;
}

// An integer argument must lie within its type, or the cell shows #NUM!.
bool Integer(const Value& value, double low, double high, double* number, Value* error) {
  Value converted;
  if (!CoerceValue(value, xltypeNum, Interface::Excel12, &converted)) {
    *error = ErrorValue(xlerrValue);
    return false;
  }
  *number = std::trunc(converted.num);
  if (*number < low || *number > high) {
    *error = ErrorValue(xlerrNum);
    return false;
  }
  return true;
}

// Prepares one argument; answers false with the value the cell shows when
// the function cannot be called with it.
bool Prepare(TypeCode code, const Value& given, Argument& arg, Value* error) {
  arg.code = code;
  const bool takesRecord =
      code == TypeCode::Oper || code == TypeCode::OperRef || code == TypeCode::Oper12 || code == TypeCode::Oper12Ref;
  if (given.Is(xltypeErr) && !takesRecord) {
    *error = given;
    return false;
  }
  Value converted;
  double number = 0;
  auto convert = [&](std::uint32_t type) {
    if (CoerceValue(given, type, IsWideCode(code) ? Interface::Excel12 : Interface::Excel4, &converted)) return true;
    *error = ErrorValue(xlerrValue);
    return false;
  };
  switch (code) {
    case TypeCode::Boolean:
    case TypeCode::BooleanRef:
      if (!convert(xltypeBool)) return false;
      arg.shortValue = converted.boolean ? 1 : 0;
      break;
    case TypeCode::Number:
    case TypeCode::NumberRef:
      if (!convert(xltypeNum)) return false;
      arg.number = converted.num;
      break;
    case TypeCode::Word:
      if (!Integer(given, 0, 65535, &number, error)) return false;
      arg.longValue = static_cast<std::int32_t>(number);
      break;
    case TypeCode::Short:
    case TypeCode::ShortRef:
      if (!Integer(given, -32768, 32767, &number, error)) return false;
      arg.shortValue = static_cast<std::int16_t>(number);
      break;
    case TypeCode::Long:
    case TypeCode::LongRef:
      if (!Integer(given, -2147483648.0, 2147483647.0, &number, error)) return false;
      arg.longValue = static_cast<std::int32_t>(number);
      break;
    case TypeCode::Text:
    case TypeCode::CountedText:
    case TypeCode::InPlaceText:
    case TypeCode::InPlaceCounted:
      if (!convert(xltypeStr)) return false;
      if (!PrepareText(converted.text, code == TypeCode::CountedText || code == TypeCode::InPlaceCounted,
                       IsInPlace(code), arg.bytes)) {
        *error = ErrorValue(xlerrValue);
        return false;
      }
      break;
    case TypeCode::WideText:
    case TypeCode::WideCounted:
    case TypeCode::InPlaceWide:
    case TypeCode::InPlaceWideCounted:
      if (!convert(xltypeStr)) return false;
      if (!PrepareText(converted.text, code == TypeCode::WideCounted || code == TypeCode::InPlaceWideCounted,
                       IsInPlace(code), arg.wide)) {
        *error = ErrorValue(xlerrValue);
        return false;
      }
      break;
    case TypeCode::Oper:
    case TypeCode::OperRef: WriteRecord(given, arg.oper, arg); break;
    case TypeCode::Oper12:
    case TypeCode::Oper12Ref: WriteRecord(given, arg.oper12, arg); break;
    case TypeCode::None: break;
  }
  // What is passed, and the memory behind it.
  auto pass = [&arg](const void* memory, size_t size) {
    arg.word = reinterpret_cast<std::uintptr_t>(memory);
    arg.Guard(memory, size);
  };
  switch (code) {
    case TypeCode::Number:
      arg.isDouble = true;
      std::memcpy(&arg.word, &arg.number, sizeof arg.number);
      break;
    case TypeCode::Boolean:
    case TypeCode::Short: arg.word = static_cast<std::uint16_t>(arg.shortValue); break;
    case TypeCode::Word:
    case TypeCode::Long: arg.word = static_cast<std::uint32_t>(arg.longValue); break;
    case TypeCode::NumberRef: pass(&arg.number, sizeof arg.number); break;
    case TypeCode::BooleanRef:
    case TypeCode::ShortRef: pass(&arg.shortValue, sizeof arg.shortValue); break;
    case TypeCode::LongRef: pass(&arg.longValue, sizeof arg.longValue); break;
    case TypeCode::Oper:
    case TypeCode::OperRef: pass(&arg.oper, sizeof arg.oper); break;
    case TypeCode::Oper12:
    case TypeCode::Oper12Ref: pass(&arg.oper12, sizeof arg.oper12); break;
    default:
      if (!arg.bytes.empty()) pass(arg.bytes.data(), arg.bytes.size());
      if (!arg.wide.empty()) pass(arg.wide.data(), arg.wide.size() * sizeof(XCHAR));
      break;
  }
  return true;
}

// The call itself. On 32-bit Windows every argument goes on the stack, a
// double in two words, and the callee removes them: passing them as one
// structure by value lays them out the same way. On 64-bit Windows each of
// the first four goes in a general register, or an XMM register when it is a
// double, and the rest go on the stack in eight bytes each, whatever their
// type; the caller removes them, so passing more than the callee takes does
// no harm. One function type per combination of the first four kinds, with
// every further argument a 64-bit word, calls any of them.
enum class Returns { Integer, Double };
struct Answered {
  std::uint64_t integer = 0;
  double number = 0;
};

#if defined(_WIN64)
using Word64 = std::uint64_t;

template <typename T>
T As(Word64 bits) {
  T value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

template <typename A, typename B, typename C, typename D, size_t... I>
Answered CallKinds(FARPROC procedure, Returns returns, const Word64* words, std::index_sequence<I...>) {
  Answered answered;
  auto* address = reinterpret_cast<void*>(procedure);
  if (returns == Returns::Double)
    answered.number = reinterpret_cast<double (*)(A, B, C, D, decltype((void)I, Word64())...)>(address)(
        As<A>(words[0]), As<B>(words[1]), As<C>(words[2]), As<D>(words[3]), words[4 + I]...);
  else
    answered.integer = reinterpret_cast<Word64 (*)(A, B, C, D, decltype((void)I, Word64())...)>(address)(
        As<A>(words[0]), As<B>(words[1]), As<C>(words[2]), As<D>(words[3]), words[4 + I]...);
  return answered;
}

template <size_t Kinds>
Answered CallWith(FARPROC procedure, Returns returns, const Word64* words) {
  using A = std::conditional_t<(Kinds & 1) != 0, double, Word64>;
  using B = std::conditional_t<(Kinds & 2) != 0, double, Word64>;
  using C = std::conditional_t<(Kinds & 4) != 0, double, Word64>;
  using D = std::conditional_t<(Kinds & 8) != 0, double, Word64>;
  return CallKinds<A, B, C, D>(procedure, returns, words, std::make_index_sequence<MaxArguments - 4>{});
}

template <size_t... Kinds>
Answered CallAny(FARPROC procedure, Returns returns, const std::vector<Argument>& args, std::index_sequence<Kinds...>) {
  Word64 words[MaxArguments] = {};
  size_t kinds = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    words[i] = args[i].word;
    if (i < 4 && args[i].isDouble) kinds |= size_t{1} << i;
  }
  using Caller = Answered (*)(FARPROC, Returns, const Word64*);
  static const Caller callers[] = {&CallWith<Kinds>...};
  return callers[kinds](procedure, returns, words);
}
constexpr size_t CallerCount = 16;
#else
template <size_t N>
struct Words {
  std::uint32_t word[N];
};

template <size_t N>
Answered CallWith(FARPROC procedure, Returns returns, const std::vector<std::uint32_t>& words) {
  Answered answered;
  auto* address = reinterpret_cast<void*>(procedure);
  if constexpr (N == 0) {
    if (returns == Returns::Double)
      answered.number = reinterpret_cast<double(WINAPI*)()>(address)();
    else
      answered.integer = reinterpret_cast<std::uint32_t(WINAPI*)()>(address)();
  } else {
    Words<N> block;
    std::memcpy(block.word, words.data(), sizeof block);
    if (returns == Returns::Double)
      answered.number = reinterpret_cast<double(WINAPI*)(Words<N>)>(address)(block);
    else
      answered.integer = reinterpret_cast<std::uint32_t(WINAPI*)(Words<N>)>(address)(block);
  }
  return answered;
}

template <size_t... N>
Answered CallAny(FARPROC procedure, Returns returns, const std::vector<Argument>& args, std::index_sequence<N...>) {
  std::vector<std::uint32_t> words;
  for (const Argument& arg : args) {
    words.push_back(static_cast<std::uint32_t>(arg.word));
    if (arg.isDouble) words.push_back(static_cast<std::uint32_t>(arg.word >> 32));
  }
  using Caller = Answered (*)(FARPROC, Returns, const std::vector<std::uint32_t>&);
  static const Caller callers[] = {&CallWith<N>...};
  return callers[words.size()](procedure, returns, words);
}
constexpr size_t CallerCount = 2 * MaxArguments + 1;
#endif

// What an argument holds after the call, read as its type says.
Value ValueOf(const Argument& arg) {
  switch (arg.code) {
    case TypeCode::NumberRef: return NumberValue(arg.number);
    case TypeCode::BooleanRef: return BooleanValue(arg.shortValue != 0);
    case TypeCode::ShortRef: return NumberValue(arg.shortValue);
    case TypeCode::LongRef: return NumberValue(arg.longValue);
    case TypeCode::Text:
    case TypeCode::InPlaceText:
      return TextValue(FromBytes(std::string(arg.bytes.data(), strnlen(arg.bytes.data(), arg.bytes.size()))));
    case TypeCode::CountedText:
    case TypeCode::InPlaceCounted: return TextValue(CountedText(arg.bytes.data()));
    case TypeCode::WideText:
    case TypeCode::InPlaceWide:
      return TextValue(FromWide(std::wstring(arg.wide.data(), wcsnlen(arg.wide.data(), arg.wide.size()))));
    case TypeCode::WideCounted:
    case TypeCode::InPlaceWideCounted: return TextValue(CountedText(arg.wide.data()));
    case TypeCode::Oper:
    case TypeCode::OperRef: return Capture(arg.oper);
    case TypeCode::Oper12:
    case TypeCode::Oper12Ref: return Capture(arg.oper12);
    default: return ErrorValue(xlerrValue);
  }
}

// A pointer answer read as its type says; null shows #NUM!.
Value Returned(TypeCode code, const Answered& answered, HMODULE module) {
  auto pointer = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(answered.integer));
  switch (code) {
    case TypeCode::Number: return NumberValue(answered.number);
    case TypeCode::Boolean: return BooleanValue(static_cast<std::int16_t>(answered.integer) != 0);
    case TypeCode::Word: return NumberValue(static_cast<std::uint16_t>(answered.integer));
    case TypeCode::Short: return NumberValue(static_cast<std::int16_t>(answered.integer));
    case TypeCode::Long: return NumberValue(static_cast<std::int32_t>(answered.integer));
    default: break;
  }
  if (pointer == nullptr) return ErrorValue(xlerrNum);
  switch (code) {
    case TypeCode::NumberRef: return NumberValue(*static_cast<const double*>(pointer));
    case TypeCode::BooleanRef: return BooleanValue(*static_cast<const std::int16_t*>(pointer) != 0);
    case TypeCode::ShortRef: return NumberValue(*static_cast<const std::int16_t*>(pointer));
    case TypeCode::LongRef: return NumberValue(*static_cast<const std::int32_t*>(pointer));
    case TypeCode::Text: return TextValue(FromBytes(static_cast<const char*>(pointer)));
    case TypeCode::CountedText: return TextValue(CountedText(static_cast<const char*>(pointer)));
    case TypeCode::WideText: return TextValue(FromWide(static_cast<const XCHAR*>(pointer)));
    case TypeCode::WideCounted: return TextValue(CountedText(static_cast<const XCHAR*>(pointer)));
    case TypeCode::Oper:
    case TypeCode::OperRef: return TakeAnswer(module, static_cast<LPXLOPER>(const_cast<void*>(pointer)));
    case TypeCode::Oper12:
    case TypeCode::Oper12Ref: return TakeAnswer(module, static_cast<LPXLOPER12>(const_cast<void*>(pointer)));
    default: return ErrorValue(xlerrValue);
  }
}

// Missing and nil answers are taken as the number 0; a record of a type no
// cell holds is input xllhost cannot show.
Value AsCell(Value value) {
  if (value.Is(xltypeMissing) || value.Is(xltypeNil)) return NumberValue(0);
  if (!IsKnownType(value.xltype)) {
    Unusable("an answer is a record with the unknown type word " + std::to_string(value.xltype));
    return ErrorValue(xlerrValue);
  }
  return value;
}

template <typename Record>
Value TakeRecord(HMODULE module, Record* answer, const char* autoFreeName) {
  if (answer == nullptr) return ErrorValue(xlerrNum);
  if (!IsKnownType(answer->xltype)) {
    Value unknown;
    unknown.xltype = answer->xltype;
    return AsCell(unknown);
  }
  Value value = Capture(*answer);
  if ((answer->xltype & xlbitXLFree) != 0) ReleaseHostMemory(*answer, "a returned record with xlbitXLFree");
  if ((answer->xltype & xlbitDLLFree) != 0) {
    auto autoFree =
        reinterpret_cast<void(WINAPI*)(Record*)>(reinterpret_cast<void*>(GetProcAddress(module, autoFreeName)));
    if (autoFree != nullptr) {
      autoFree(answer);  // control is still with the add-in that answered
    } else {
      Fault(std::string("an answer asks to be freed, but the add-in exports no ") + autoFreeName);
    }
  }
  return value;
}

}  // namespace

Value TakeAnswer(HMODULE module, LPXLOPER answer) { return TakeRecord(module, answer, "xlAutoFree"); }

Value TakeAnswer(HMODULE module, LPXLOPER12 answer) { return TakeRecord(module, answer, "xlAutoFree12"); }

Value Invoke(const Registration& registration, const std::vector<Value>& given) {
  const Signature& signature = registration.signature;
  if (given.size() > signature.args.size()) return ErrorValue(xlerrValue);
  std::vector<Argument> args(signature.args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    Value error;
    if (!Prepare(signature.args[i], i < given.size() ? given[i] : MissingValue(), args[i], &error)) return error;
    args[i].TakeSnapshot();
  }
  const bool returnsDouble = signature.resultArgument == 0 && signature.result == TypeCode::Number;
  Answered answered = CallAny(registration.address, returnsDouble ? Returns::Double : Returns::Integer, args,
                              std::make_index_sequence<CallerCount>{});

  // Only an argument the type text lets the function modify may change.
  for (size_t i = 0; i < args.size(); ++i) {
    if (IsInPlace(args[i].code) || static_cast<int>(i) + 1 == signature.resultArgument || !args[i].Changed()) continue;
    Fault("=" + registration.functionText + "() changed its argument " + std::to_string(i + 1) + " (type " +
          Letters(args[i].code) + ") in place, which its type text \"" + registration.typeText +
          "\" does not let it do: Excel's documentation warns this can crash Excel");
  }
  if (signature.resultArgument != 0) return AsCell(ValueOf(args[static_cast<size_t>(signature.resultArgument) - 1]));
  return AsCell(Returned(signature.result, answered, registration.module));
}

}  // namespace xllhost
