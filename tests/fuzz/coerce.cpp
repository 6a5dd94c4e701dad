// xlCoerce's conversions, on any value and any mask of types: what succeeds
// is of a type the mask allows, and a number Excel can hold, made text,
// reads back as the same number, to the 15 digits a cell shows.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "records/Coerce.h"

namespace {

// A value of the type the first byte picks, from the bytes after it.
xllhost::Value ValueOf(const std::uint8_t* data, std::size_t size) {
  using namespace xllhost;
  double number = 0;
  std::memcpy(&number, data + 1, std::min<std::size_t>(size - 1, sizeof number));
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 8) {
    case 0: return NumberValue(number);
    case 1: return TextValue(text);
    case 2: return BooleanValue(size > 1 && data[1] % 2 == 1);
    case 3: return IntegerValue(size > 2 ? static_cast<std::int16_t>(data[1] | data[2] << 8) : 0);
    case 4: return ErrorValue(size > 1 ? data[1] : 0);
    case 5: return MissingValue();
    case 6: {
      Value array;
      array.xltype = xltypeMulti;
      array.rows = 1;
      array.columns = 2;
      array.elements = {TextValue(text), NumberValue(number)};
      return array;
    }
    default: return Value{};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace xllhost;
  if (size < 4) return 0;
  const std::uint32_t mask = data[0] | (data[1] & 0x0F) << 8;
  const Interface via = data[1] & 0x80 ? Interface::Excel4 : Interface::Excel12;
  const Value source = ValueOf(data + 2, size - 2);
  Value result;
  if (!CoerceValue(source, mask, via, &result)) return 0;
  if (mask != 0 && (result.Type() & mask) == 0) std::abort();
  // Excel takes numbers up to 9.99999999999999E+307; a larger double shown
  // to 15 digits may round past the largest double and read as no number.
  if (source.Is(xltypeNum) && std::fabs(source.num) <= 9.99999999999999E+307) {
    Value text, back;
    if (CoerceValue(source, xltypeStr, via, &text)) {
      if (!CoerceValue(text, xltypeNum, via, &back) || Display(back) != Display(source)) std::abort();
    }
  }
  return 0;
}
