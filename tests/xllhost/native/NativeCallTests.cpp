// The native call: integers and doubles in every position a function may
// take them, through the stdcall convention of each width.
#include <cstring>

#include "XllHostTest.h"
#include "native/NativeCall.h"

namespace {

std::uint64_t Bits(double number) {
  std::uint64_t bits;
  std::memcpy(&bits, &number, sizeof bits);
  return bits;
}

// Each argument weighted by its position, so an argument in the wrong place shows.
double WINAPI Mixed(double a, int b, double c, int d, double e, int f, double g) {
  return a + 10 * b + 100 * c + 1000 * d + 10000 * e + 100000 * f + 1000000 * g;
}
double WINAPI Flipped(int a, double b, int c, double d, int e, double f) {
  return a + 10 * b + 100 * c + 1000 * d + 10000 * e + 100000 * f;
}
int WINAPI Integers(int a, int b, int c, int d, int e) { return a - b + 3 * c - 5 * d + 7 * e; }
double WINAPI Nothing() { return 0.5; }
int __cdecl WithoutStdcall(int a, int b) { return 10 * a + b; }
int WINAPI TakesFour(int a, int, int, int) { return a; }

FARPROC Procedure(void* function) { return reinterpret_cast<FARPROC>(function); }

TEST(NativeCall, PassesIntegersAndDoublesInEveryPositionAndTakesEitherAnswer) {
  using xllhost::NativeArgument;
  std::vector<NativeArgument> mixed = {{Bits(1), true},  {2, false}, {Bits(3), true}, {4, false},
                                       {Bits(5), true},  {6, false}, {Bits(7), true}};
  EXPECT_EQ(xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Mixed)), xllhost::Returns::Double, mixed).number,
            7654321.0);
  std::vector<NativeArgument> flipped = {{1, false}, {Bits(2), true}, {3, false},
                                         {Bits(4), true}, {5, false}, {Bits(6), true}};
  EXPECT_EQ(
      xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Flipped)), xllhost::Returns::Double, flipped).number,
      654321.0);
  std::vector<NativeArgument> integers = {{1, false}, {2, false}, {3, false}, {4, false}, {5, false}};
  EXPECT_EQ(static_cast<int>(xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Integers)),
                                                  xllhost::Returns::Integer, integers)
                                 .integer),
            1 - 2 + 9 - 20 + 35);
  EXPECT_EQ(xllhost::CallStdcall(Procedure(reinterpret_cast<void*>(&Nothing)), xllhost::Returns::Double, {}).number,
            0.5);
}

// On 32-bit Windows the call survives a function that leaves the stack
// other than it found it, and says how many bytes it removed of how many it
// passed: none for one written without __stdcall, more for one that takes
// more arguments than passed. 64-bit Windows has one convention.
TEST(NativeCall, SaysHowManyBytesOfArgumentsTheFunctionRemoved) {
  const struct {
    void* function;
    std::vector<xllhost::NativeArgument> args;
    int answer;
    std::uint32_t passed, removed;
  } cases[] = {
      {reinterpret_cast<void*>(&WithoutStdcall), {{4, false}, {2, false}}, 42, 8, 0},
      {reinterpret_cast<void*>(&Integers), {{1, false}, {2, false}, {3, false}, {4, false}, {5, false}}, 23, 20, 20},
      {reinterpret_cast<void*>(&TakesFour), {{7, false}, {2, false}}, 7, 8, 16},
  };
  for (const auto& c : cases) {
    xllhost::Answered answered = xllhost::CallStdcall(Procedure(c.function), xllhost::Returns::Integer, c.args);
    EXPECT_EQ(static_cast<int>(answered.integer), c.answer);
    EXPECT_EQ(answered.passedBytes, sizeof(void*) == 8 ? 0 : c.passed);
    EXPECT_EQ(answered.removedBytes, sizeof(void*) == 8 ? 0 : c.removed);
  }
}

}  // namespace
