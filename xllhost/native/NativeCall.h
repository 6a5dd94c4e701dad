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
  // On 32-bit Windows a stdcall procedure removes its arguments from the
  // stack: how many bytes were passed and how many it removed. One written
  // without __stdcall removes none; one whose arguments differ from those
  // passed removes another count. The stack is put right either way. 64-bit
  // Windows has one convention, in which the caller removes them: both 0.
  std::uint32_t passedBytes = 0;
  std::uint32_t removedBytes = 0;
};

// At most MaxArguments (TypeText.h) arguments.
Answered CallStdcall(FARPROC procedure, Returns returns, const std::vector<NativeArgument>& args);

}  // namespace xllhost
