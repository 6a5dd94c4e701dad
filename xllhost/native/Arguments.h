// One argument of a registered function, as Excel prepares it: converted
// from the cell's value as its type code asks, kept in storage of its own,
// passed as a machine word, and read back after the call.
#pragma once

#include <cstring>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "native/NativeCall.h"
#include "records/TypeText.h"
#include "records/Values.h"

namespace xllhost {

// One argument: the storage Excel prepares for it, what goes on the stack
// or in a register, and the memory the add-in may not change.
struct Argument {
  TypeCode code = TypeCode::None;
  double number = 0;
  std::int16_t shortValue = 0;
  std::int32_t longValue = 0;
  std::vector<char> bytes;        // C, D, F, G
  std::vector<XCHAR> wide;        // C%, D%, F%, G%
  std::vector<double> numbers;    // K, K%: the counts in the first element's place, then the numbers; O, O%: the numbers
  std::uint16_t counts16[2] = {};  // O: rows and columns
  std::int32_t counts32[2] = {};   // O%
  XLOPER oper{};                  // P, R
  XLOPER12 oper12{};              // Q, U
  // The counted strings and arrays of the records; lists, which allocate
  // nothing until they keep something, and never move what they keep.
  std::list<std::string> texts;
  std::list<std::wstring> wideTexts;
  std::list<std::vector<XLOPER>> arrays;
  std::list<std::vector<XLOPER12>> wideArrays;
  std::list<std::vector<XLMREF>> rectangles;  // of an xltypeRef
  std::list<std::vector<XLMREF12>> wideRectangles;

  NativeArgument passed;                                // what goes on the stack or in a register
  NativeArgument passedToo[2];                          // O, O%: the columns' and the numbers' addresses after the rows'
  int words = 1;                                        // of passed and passedToo
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
  std::list<std::string>& Kept(char*) { return texts; }
  std::list<std::wstring>& Kept(XCHAR*) { return wideTexts; }
  std::list<std::vector<XLOPER>>& Kept(XLOPER*) { return arrays; }
  std::list<std::vector<XLOPER12>>& Kept(XLOPER12*) { return wideArrays; }
  std::list<std::vector<XLMREF>>& Kept(XLMREF*) { return rectangles; }
  std::list<std::vector<XLMREF12>>& Kept(XLMREF12*) { return wideRectangles; }
};

// Prepares one argument; answers false with the value the cell shows when
// the function cannot be called with it.
bool Prepare(TypeCode code, const Value& given, Argument& arg, Value* error);
// The asynchronous handle (X) Excel passes: binary data whose handle is the
// host's, with no bytes of its own; the add-in may not change it.
void PrepareHandle(std::uintptr_t handle, Argument& arg);

// What an argument passed by reference holds after the call, read as its type
// says; an array of numbers that grew past its memory shows #VALUE! and
// `what` says so.
Value ValueOf(const Argument& arg, std::string* what);

}  // namespace xllhost
