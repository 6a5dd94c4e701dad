// The built-ins of texts: LEN, UPPER, LOWER, TRIM, REPT, CONCATENATE,
// CONCAT, TEXTJOIN, CODE, CHAR, UNICODE, UNICHAR, FIND, LEFT, RIGHT, MID,
// VALUE.
#pragma once

#include "builtins/BuiltinCall.h"

namespace xllhost {

Value Len(const BuiltinCall& call);
Value UpperCase(const BuiltinCall& call);
Value LowerCase(const BuiltinCall& call);
Value TrimSpaces(const BuiltinCall& call);
Value Rept(const BuiltinCall& call);
Value Concatenate(const BuiltinCall& call);
Value Concat(const BuiltinCall& call);    // CONCAT(text1, ...), ranges cell by cell
Value TextJoin(const BuiltinCall& call);  // TEXTJOIN(delimiter, ignore_empty, text1, ...)
Value Code(const BuiltinCall& call);
Value Char(const BuiltinCall& call);
Value Unicode(const BuiltinCall& call);  // the first character's code point
Value Unichar(const BuiltinCall& call);
Value Find(const BuiltinCall& call);
Value Left(const BuiltinCall& call);
Value Right(const BuiltinCall& call);
Value Mid(const BuiltinCall& call);
Value ValueOf(const BuiltinCall& call);
}  // namespace xllhost
