#include "native/Arguments.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cwchar>

#include "native/NumberArrays.h"
#include "records/Coerce.h"

namespace xllhost {
namespace {

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

// Converts the cell's value as the code asks and keeps it in the argument's storage.
bool Store(const TypeInfo& type, const Value& given, Argument& arg, Value* error) {
  if (type.storage == Storage::Oper) return WriteRecord(given, arg.oper, arg), true;
  if (type.storage == Storage::Oper12) return WriteRecord(given, arg.oper12, arg), true;
  if (PassesCounts(type.storage) || type.storage == Storage::Fp || type.storage == Storage::Fp12) {
    const bool prepared =
        PassesCounts(type.storage)
            ? PrepareCounted(given, type.storage == Storage::Doubles12, arg.numbers, arg.counts32, arg.counts16)
            : PrepareFp(given, type.storage == Storage::Fp12, arg.numbers);
    if (!prepared) *error = ErrorValue(xlerrValue);
    return prepared;
  }
  Value converted;
  double number = 0;
  if (type.low != type.high) {
    if (!Integer(given, type.low, type.high, &number, error)) return false;
  } else if (!CoerceValue(given, type.convertsTo, type.wide ? Interface::Excel12 : Interface::Excel4, &converted)) {
    *error = ErrorValue(xlerrValue);
    return false;
  }
  bool fits = true;
  switch (type.storage) {
    case Storage::Double: arg.number = converted.num; break;
    case Storage::Short:
      arg.shortValue = type.convertsTo == xltypeBool ? (converted.boolean ? 1 : 0) : static_cast<std::int16_t>(number);
      break;
    case Storage::Word:
    case Storage::Long: arg.longValue = static_cast<std::int32_t>(number); break;
    case Storage::Bytes: fits = PrepareText(converted.text, type.counted, type.inPlace, arg.bytes); break;
    case Storage::Wide: fits = PrepareText(converted.text, type.counted, type.inPlace, arg.wide); break;
    default: break;
  }
  if (!fits) *error = ErrorValue(xlerrValue);
  return fits;
}

// What is passed: the value itself, or the address of its storage, whose
// memory is then guarded.
void Pass(const TypeInfo& type, Argument& arg) {
  std::pair<const void*, size_t> memory;
  switch (type.storage) {
    case Storage::Double: memory = {&arg.number, sizeof arg.number}; break;
    case Storage::Short: memory = {&arg.shortValue, sizeof arg.shortValue}; break;
    case Storage::Word:
    case Storage::Long: memory = {&arg.longValue, sizeof arg.longValue}; break;
    case Storage::Bytes: memory = {arg.bytes.data(), arg.bytes.size()}; break;
    case Storage::Wide: memory = {arg.wide.data(), arg.wide.size() * sizeof(XCHAR)}; break;
    case Storage::Oper: memory = {&arg.oper, sizeof arg.oper}; break;
    case Storage::Oper12: memory = {&arg.oper12, sizeof arg.oper12}; break;
    case Storage::Fp:
    case Storage::Fp12: memory = {arg.numbers.data(), arg.numbers.size() * sizeof(double)}; break;
    case Storage::Doubles:
    case Storage::Doubles12: {
      const bool wide = type.storage == Storage::Doubles12;
      void* counts[2] = {wide ? static_cast<void*>(&arg.counts32[0]) : &arg.counts16[0],
                         wide ? static_cast<void*>(&arg.counts32[1]) : &arg.counts16[1]};
      arg.passedToo[0].word = reinterpret_cast<std::uintptr_t>(counts[1]);
      arg.passedToo[1].word = reinterpret_cast<std::uintptr_t>(arg.numbers.data());
      arg.words = 3;
      arg.Guard(counts[1], wide ? sizeof(std::int32_t) : sizeof(std::uint16_t));
      arg.Guard(arg.numbers.data(), arg.numbers.size() * sizeof(double));
      memory = {counts[0], wide ? sizeof(std::int32_t) : sizeof(std::uint16_t)};
      break;
    }
    case Storage::None: return;
  }
  if (type.byReference) {
    arg.passed.word = reinterpret_cast<std::uintptr_t>(memory.first);
    arg.Guard(memory.first, memory.second);
  } else if (type.storage == Storage::Double) {
    arg.passed.isDouble = true;
    std::memcpy(&arg.passed.word, &arg.number, sizeof arg.number);
  } else if (type.storage == Storage::Short) {
    arg.passed.word = static_cast<std::uint16_t>(arg.shortValue);
  } else {
    arg.passed.word = static_cast<std::uint32_t>(arg.longValue);
  }
}

}  // namespace

bool Prepare(TypeCode code, const Value& given, Argument& arg, Value* error) {
  const TypeInfo& type = Info(code);
  arg.code = code;
  // Only a record argument receives an error. For any other the function is
  // not called and the cell shows #VALUE!, whatever the error: workbooks
  // Excel saved with add-ins show so (the reference does not say).
  if (given.Is(xltypeErr) && type.convertsTo != 0) {
    *error = ErrorValue(xlerrValue);
    return false;
  }
  if (!Store(type, given, arg, error)) return false;
  Pass(type, arg);
  return true;
}

void PrepareHandle(std::uintptr_t handle, Argument& arg) {
  arg.code = TypeCode::AsyncHandle;
  arg.oper12 = XLOPER12{};
  arg.oper12.xltype = xltypeBigData;
  arg.oper12.val.bigdata.h.hdata = reinterpret_cast<HANDLE>(handle);
  Pass(Info(arg.code), arg);
}

Value ValueOf(const Argument& arg, std::string* what) {
  const TypeInfo& type = Info(arg.code);
  switch (type.storage) {
    case Storage::Double: return NumberValue(arg.number);
    case Storage::Short:
      return type.convertsTo == xltypeBool ? BooleanValue(arg.shortValue != 0) : NumberValue(arg.shortValue);
    case Storage::Word:
    case Storage::Long: return NumberValue(arg.longValue);
    case Storage::Bytes:
      if (type.counted) return TextValue(CountedText(arg.bytes.data()));
      return TextValue(FromBytes(std::string(arg.bytes.data(), strnlen(arg.bytes.data(), arg.bytes.size()))));
    case Storage::Wide:
      if (type.counted) return TextValue(CountedText(arg.wide.data()));
      return TextValue(FromWide(std::wstring(arg.wide.data(), wcsnlen(arg.wide.data(), arg.wide.size()))));
    case Storage::Oper: return Capture(arg.oper);
    case Storage::Oper12: return Capture(arg.oper12);
    case Storage::Fp:
    case Storage::Fp12:
      // Changed in place, the array may shrink, never grow past what Excel allocated.
      return FloatArray(arg.numbers.data(), type.storage == Storage::Fp12, arg.numbers.size() - 1, what);
    case Storage::Doubles:
    case Storage::Doubles12: {
      // Changed in place, the counts may shrink the array, never grow it.
      const bool wide = type.storage == Storage::Doubles12;
      return CountedArray(arg.numbers, wide ? arg.counts32[0] : arg.counts16[0], wide ? arg.counts32[1] : arg.counts16[1],
                          what);
    }
    case Storage::None: break;
  }
  return ErrorValue(xlerrValue);
}

}  // namespace xllhost
