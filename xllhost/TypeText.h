// The type text of a registration: what a function returns and takes.
#pragma once

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
  None,                // the result of a function that returns by modifying an argument
};

struct Signature {
  TypeCode result = TypeCode::None;
  int resultArgument = 0;  // from 1: the argument whose value after the call is the result; 0 for none
  std::vector<TypeCode> args;
  std::string markers;  // of ! (volatile), $ (thread-safe), # (macro sheet equivalent), & (cluster-safe)
};

// At most this many arguments are passed; a longer type text is refused.
constexpr size_t MaxArguments = 32;

// Parses a type text. On failure answers false and says why, naming the
// letter xllhost does not understand.
bool ParseTypeText(const std::string& text, Signature* signature, std::string* why);
// The letters of one code, as a type text writes them.
const char* Letters(TypeCode code);
bool IsPointer(TypeCode code);   // passed by reference, so a result can be taken from it
bool IsInPlace(TypeCode code);   // F, G, F%, G%: the add-in may change it
bool IsWideCode(TypeCode code);  // of the Excel 2007 interface

}  // namespace xllhost
