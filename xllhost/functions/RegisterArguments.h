// xlfRegister's and xlfRegisterId's arguments, read as Excel reads them:
// the module, the procedure by name or ordinal, the type text, and the
// optional texts after it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "records/TypeText.h"
#include "records/Values.h"

namespace xllhost {

inline bool IsString(const Value& value) { return value.Is(xltypeStr) && value.pointer != nullptr; }
inline bool IsNumber(const Value& value) { return value.xltype == xltypeNum || value.xltype == xltypeInt; }
inline double NumberOf(const Value& value) { return value.xltype == xltypeInt ? value.integer : value.num; }

// The module path, the procedure (an export name, or a number for its
// ordinal) and the optional type text, as xlfRegister and xlfRegisterId take
// them; on success the module and the procedure are found.
struct Target {
  int code = xlretSuccess;
  std::string unusable;  // a type text xllhost does not understand
  std::string refused;   // why Excel refuses the registration, when it does
  HMODULE module = nullptr;
  std::string procedure;
  std::string typeText;
  Signature signature;
  FARPROC address = nullptr;
};
// A type text xllhost does not understand is refused, never guessed at.
Target FindTarget(const std::vector<Value>& args);
bool OmitsTypeText(const std::vector<Value>& args);

// The arguments with each text that counts its terminating NUL taken up to
// it, as Excel takes it: add-ins built on some frameworks count the NUL
// ("QQQQQ\0", "Math\0"), and workbooks Excel saved with them show it
// accepts that. `typeText` is set when the type text was one.
std::vector<Value> UpToNul(const std::vector<Value>& args, bool* typeText = nullptr);

// A command (macro type 2) takes no arguments, so its type text may be
// omitted without asking the add-in's xlAutoRegister (xlfregister-form-1.md:
// the type text is optional); add-ins of some C++ libraries register every
// command so and export no xlAutoRegister.
bool IsCommand(const std::vector<Value>& args);
// The arguments after the type text are optional: missing, nil or text, and
// the macro type and the category may also be numbers.
bool IsOptionalArgument(size_t index, const Value& value);

}  // namespace xllhost
