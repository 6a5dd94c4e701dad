#include "native/NumberArrays.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "UTypes.h"
#include "records/Coerce.h"

namespace xllhost {
namespace {

template <typename Array>
bool PrepareNumbers(const Value& given, std::vector<double>& buffer) {
  // A single value is a 1 x 1 array: the value is its one element.
  const bool array = given.Is(xltypeMulti);
  const Value* elements = array ? given.elements.data() : &given;
  const size_t count = array ? given.elements.size() : 1;
  if (count == 0) return false;
  buffer.assign(count + 1, 0.0);
  for (size_t i = 0; i < count; ++i) {
    Value number;
    if (elements[i].Is(xltypeErr) || !CoerceValue(elements[i], xltypeNum, Interface::Excel12, &number)) return false;
    buffer[i + 1] = number.num;
  }
  Array counts{};
  counts.rows = static_cast<decltype(counts.rows)>(array ? given.rows : 1);
  counts.columns = static_cast<decltype(counts.columns)>(array ? given.columns : 1);
  std::memcpy(buffer.data(), &counts, offsetof(Array, array));
  return true;
}

// Whether the memory can be read, so that counts an add-in got wrong are
// reported, not followed.
bool Readable(const void* memory, size_t size) {
  auto at = static_cast<const char*>(memory);
  const char* end = at + size;
  while (at < end) {
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(at, &region, sizeof region) == 0 || region.State != MEM_COMMIT ||
        (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
      return false;
    at = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
  }
  return true;
}

template <typename Array>
Value ReadNumbers(const void* memory, size_t most, std::string* what) {
  if (!Readable(memory, offsetof(Array, array))) {
    *what = "its address cannot be read";
    return ErrorValue(xlerrValue);
  }
  Array counts{};
  std::memcpy(&counts, memory, offsetof(Array, array));
  const long long rows = counts.rows, columns = counts.columns, count = rows * columns;
  const auto* numbers = reinterpret_cast<const double*>(static_cast<const char*>(memory) + offsetof(Array, array));
  if (rows <= 0 || columns <= 0 || static_cast<unsigned long long>(count) > most ||
      !Readable(numbers, static_cast<size_t>(count) * sizeof(double))) {
    *what = "its counts say " + std::to_string(rows) + " x " + std::to_string(columns) +
            (rows <= 0 || columns <= 0 ? ", no element" : ", more numbers than its memory holds");
    return ErrorValue(xlerrValue);
  }
  Value value;
  value.xltype = xltypeMulti;
  value.rows = static_cast<int>(rows);
  value.columns = static_cast<int>(columns);
  for (long long i = 0; i < count; ++i) {
    double number;
    std::memcpy(&number, numbers + i, sizeof number);
    value.elements.push_back(NumberValue(number));
  }
  return value;
}

}  // namespace

bool PrepareFp(const Value& given, bool wide, std::vector<double>& buffer) {
  return wide ? PrepareNumbers<FP12>(given, buffer) : PrepareNumbers<FP>(given, buffer);
}

bool PrepareCounted(const Value& given, bool wide, std::vector<double>& numbers, std::int32_t counts32[2],
                    std::uint16_t counts16[2]) {
  if (!PrepareNumbers<FP12>(given, numbers)) return false;
  FP12 counts{};
  std::memcpy(&counts, numbers.data(), offsetof(FP12, array));
  numbers.erase(numbers.begin());
  counts32[0] = counts.rows;
  counts32[1] = counts.columns;
  if (wide) return true;
  if (counts.rows > 0xFFFF || counts.columns > 0xFFFF) return false;
  counts16[0] = static_cast<std::uint16_t>(counts.rows);
  counts16[1] = static_cast<std::uint16_t>(counts.columns);
  return true;
}

Value FloatArray(const void* array, bool wide, size_t most, std::string* what) {
  return wide ? ReadNumbers<FP12>(array, most, what) : ReadNumbers<FP>(array, most, what);
}

Value CountedArray(const std::vector<double>& numbers, long long rows, long long columns, std::string* what) {
  if (rows <= 0 || columns <= 0 || static_cast<unsigned long long>(rows * columns) > numbers.size()) {
    *what = "its counts say " + std::to_string(rows) + " x " + std::to_string(columns) +
            (rows <= 0 || columns <= 0 ? ", no element" : ", more numbers than Excel gave it room for");
    return ErrorValue(xlerrValue);
  }
  Value array = ArrayValue(static_cast<size_t>(rows), static_cast<size_t>(columns));
  for (size_t i = 0; i < array.elements.size(); ++i) array.elements[i] = NumberValue(numbers[i]);
  return array;
}

}  // namespace xllhost
