// Calling a procedure with the stdcall convention Excel uses for a
// registered function, with its arguments as machine words. The only place
// that knows how each width passes them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace xllhost {

struct NativeArgument {
  std::uint64_t word = 0;  // an integer, a pointer, or a double's bits
  bool isDouble = false;
};

enum class Returns { Integer, Double };
struct Answered {
  std::uint64_t integer = 0;
  double number = 0;
  // False when a 32-bit procedure left its arguments on the stack, as one
  // written without __stdcall does; the stack is put right all the same.
  // 64-bit Windows has one convention, in which the caller removes them.
  bool removedArguments = true;
};

// At most MaxArguments (TypeText.h) arguments.
Answered CallStdcall(FARPROC procedure, Returns returns, const std::vector<NativeArgument>& args);

}  // namespace xllhost
