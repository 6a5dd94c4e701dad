// The type text of a registration: what a function returns and takes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace xllhost {

enum class TypeCode {
  Boolean,             // A: short, 0 or 1
  Number,              // B: double
  Text,                // C: null-terminated byte string
  CountedText,         // D: counted byte string
  NumberRef,           // E: double*
  Word,                // H: unsigned short
  Short,               // I: short
  Long,                // J: 32-bit int
  BooleanRef,          // L: short*
  ShortRef,            // M: short*
  LongRef,             // N: 32-bit int*
  Oper,                // P: XLOPER*, references made values
  OperRef,             // R: XLOPER*, references allowed
  WideText,            // C%: null-terminated wide string
  WideCounted,         // D%: counted wide string
  Oper12,              // Q: XLOPER12*, references made values
  Oper12Ref,           // U: XLOPER12*, references allowed
  InPlaceText,         // F: a 256-byte buffer, null-terminated, the add-in may change
  InPlaceCounted,      // G: a 256-byte buffer, counted
  InPlaceWide,         // F%: a 65,536-byte buffer, null-terminated wide
  InPlaceWideCounted,  // G%: a 65,536-byte buffer, counted wide
  Numbers,             // K: FP*, a 16-bit-counted array of doubles
  Numbers12,           // K%: FP12*, a 32-bit-counted array of doubles
  AsyncHandle,         // X: XLOPER12*, the handle of an asynchronous call, which Excel passes, not the formula
  Doubles,             // O: unsigned short* rows, unsigned short* columns, double*: three words
  Doubles12,           // O%: int* rows, int* columns, double*
  None,                // the result of a function that returns by modifying an argument
};

// At most this many words of arguments are passed (an O or O% passes
// three); a longer type text is refused.
constexpr size_t MaxArguments = 32;

// The codes of a signature's arguments, held in place, so that a copy of a
// registration, taken for every call, allocates nothing. Codes past the
// most are counted, not kept.
class ArgumentCodes {
 public:
  void push_back(TypeCode code) {
    if (count_ < MaxArguments) codes_[count_] = code;
    ++count_;
  }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  TypeCode operator[](size_t i) const { return codes_[i]; }
  const TypeCode* begin() const { return codes_; }
  const TypeCode* end() const { return codes_ + std::min(count_, MaxArguments); }
  bool operator==(const ArgumentCodes& other) const {
    return count_ == other.count_ && std::equal(begin(), end(), other.begin());
  }
  bool operator!=(const ArgumentCodes& other) const { return !(*this == other); }

 private:
  TypeCode codes_[MaxArguments] = {};
  size_t count_ = 0;
};

struct Signature {
  TypeCode result = TypeCode::None;
  int resultArgument = 0;  // from 1: the argument whose value after the call is the result; 0 for none
  ArgumentCodes args;
  std::string markers;  // of ! (volatile), $ (thread-safe), # (macro sheet equivalent), & (cluster-safe)
  int asyncHandle = 0;  // from 1: the argument that receives the asynchronous handle (X); 0 for none

  bool ThreadSafe() const { return markers.find('$') != std::string::npos; }
  // An asynchronous function answers through xlAsyncReturn, not its return.
  bool Asynchronous() const { return asyncHandle != 0; }
  // The type of the formula's argument `i`, which skips the handle.
  TypeCode Given(size_t i) const {
    if (asyncHandle != 0 && i + 1 >= static_cast<size_t>(asyncHandle)) ++i;
    return i < args.size() ? args[i] : TypeCode::Oper;
  }
};

// Parses a type text. On failure answers false and says why, naming the
// letter xllhost does not understand; `lacking`, when given, says whether
// the text is one Excel takes that xllhost cannot pass (more arguments than
// it passes), not one Excel refuses.
bool ParseTypeText(const std::string& text, Signature* signature, std::string* why, bool* lacking = nullptr);

// Where Excel keeps an argument of a code while the function runs.
enum class Storage { None, Double, Short, Word, Long, Bytes, Wide, Oper, Oper12, Fp, Fp12, Doubles, Doubles12 };
// O and O%: the counts by pointer, and the numbers.
inline bool PassesCounts(Storage storage) { return storage == Storage::Doubles || storage == Storage::Doubles12; }

// One row per type code: all that xllhost knows of it. Adding a code is
// adding a row (and its enumerator above).
struct TypeInfo {
  TypeCode code;
  const char* letters;        // as a type text writes them
  Storage storage;
  bool byReference;           // a pointer to the storage is passed, so a result can be taken from it
  bool counted;               // text with its count in its first character
  bool inPlace;               // F, G, F%, G%: the add-in may change it
  bool wide;                  // of the Excel 2007 interface
  std::uint32_t convertsTo;   // the type a cell's value is coerced to; 0: passed as a record
  double low, high;           // an integer's range, outside which the cell shows #NUM!; 0, 0: no integer
};
const TypeInfo& Info(TypeCode code);

}  // namespace xllhost
