#include "native/NativeCall.h"

#include <cstring>
#include <type_traits>
#include <utility>

#include "records/TypeText.h"

namespace xllhost {
namespace {

// The call itself. On 32-bit Windows every argument goes on the stack, a
// double in two words, and the callee removes them: passing them as one
// structure by value lays them out the same way. On 64-bit Windows each of
// the first four goes in a general register, or an XMM register when it is a
// double, and the rest go on the stack in eight bytes each, whatever their
// type; the caller removes them, so passing more than the callee takes does
// no harm. One function type per combination of the first four kinds, with
// every further argument a 64-bit word, calls any of them.

#if defined(_WIN64)
using Word64 = std::uint64_t;

template <typename T>
T As(Word64 bits) {
  T value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

template <typename A, typename B, typename C, typename D, size_t... I>
Answered CallKinds(FARPROC procedure, Returns returns, const Word64* words, std::index_sequence<I...>) {
  Answered answered;
  auto* address = reinterpret_cast<void*>(procedure);
  if (returns == Returns::Double)
    answered.number = reinterpret_cast<double (*)(A, B, C, D, decltype((void)I, Word64())...)>(address)(
        As<A>(words[0]), As<B>(words[1]), As<C>(words[2]), As<D>(words[3]), words[4 + I]...);
  else
    answered.integer = reinterpret_cast<Word64 (*)(A, B, C, D, decltype((void)I, Word64())...)>(address)(
        As<A>(words[0]), As<B>(words[1]), As<C>(words[2]), As<D>(words[3]), words[4 + I]...);
  return answered;
}

template <size_t Kinds>
Answered CallWith(FARPROC procedure, Returns returns, const Word64* words) {
  using A = std::conditional_t<(Kinds & 1) != 0, double, Word64>;
  using B = std::conditional_t<(Kinds & 2) != 0, double, Word64>;
  using C = std::conditional_t<(Kinds & 4) != 0, double, Word64>;
  using D = std::conditional_t<(Kinds & 8) != 0, double, Word64>;
  return CallKinds<A, B, C, D>(procedure, returns, words, std::make_index_sequence<MaxArguments - 4>{});
}

template <size_t... Kinds>
Answered CallAny(FARPROC procedure, Returns returns, const std::vector<NativeArgument>& args, std::index_sequence<Kinds...>) {
  Word64 words[MaxArguments] = {};
  size_t kinds = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    words[i] = args[i].word;
    if (i < 4 && args[i].isDouble) kinds |= size_t{1} << i;
  }
  using Caller = Answered (*)(FARPROC, Returns, const Word64*);
  static const Caller callers[] = {&CallWith<Kinds>...};
  return callers[kinds](procedure, returns, words);
}
constexpr size_t CallerCount = 16;

Answered CallNative(FARPROC procedure, Returns returns, const std::vector<NativeArgument>& args) {
  return CallAny(procedure, returns, args, std::make_index_sequence<CallerCount>{});
}
#else
// On 32-bit Windows the words go on the stack, the first at the lowest
// address, and a stdcall procedure removes them before it returns. A
// procedure written without __stdcall (cdecl) leaves them there. This routine
// notes the stack pointer before the call, stores how many bytes the
// procedure removed, and puts the stack pointer back either way. It touches
// neither edx:eax (an integer answer) nor the x87 stack (a double answer)
// after the call, so one routine serves both kinds under two names.
extern "C" {
std::uint64_t __cdecl xllhost_CallWordsForInteger(FARPROC procedure, const std::uint32_t* words, std::uint32_t count,
                                                   std::uint32_t* removed);
double __cdecl xllhost_CallWordsForDouble(FARPROC procedure, const std::uint32_t* words, std::uint32_t count,
                                          std::uint32_t* removed);
}
asm(R"(
  .text
  .globl _xllhost_CallWordsForInteger
  .globl _xllhost_CallWordsForDouble
_xllhost_CallWordsForInteger:
_xllhost_CallWordsForDouble:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  pushl %edi
  pushl %ebx
  movl 16(%ebp), %ecx
  movl 12(%ebp), %esi
  leal (,%ecx,4), %eax
  subl %eax, %esp
  andl $-16, %esp
  movl %esp, %edi
  cld
  rep movsl
  movl %esp, %ebx
  movl 20(%ebp), %edi
  call *8(%ebp)
  movl %esp, %ecx
  subl %ebx, %ecx
  movl %ecx, (%edi)
  leal -12(%ebp), %esp
  popl %ebx
  popl %edi
  popl %esi
  popl %ebp
  ret
)");

Answered CallNative(FARPROC procedure, Returns returns, const std::vector<NativeArgument>& args) {
  // Two words for each argument at most: a double takes two.
  std::uint32_t words[2 * MaxArguments];
  std::uint32_t count = 0;
  for (const NativeArgument& arg : args) {
    if (count + 2 > 2 * MaxArguments) break;  // a signature never has more arguments
    words[count++] = static_cast<std::uint32_t>(arg.word);
    if (arg.isDouble) words[count++] = static_cast<std::uint32_t>(arg.word >> 32);
  }
  Answered answered;
  std::uint32_t removed = 0;
  if (returns == Returns::Double)
    answered.number = xllhost_CallWordsForDouble(procedure, words, count, &removed);
  else
    answered.integer = xllhost_CallWordsForInteger(procedure, words, count, &removed);
  answered.passedBytes = 4 * count;
  answered.removedBytes = removed;
  return answered;
}
#endif

}  // namespace

Answered CallStdcall(FARPROC procedure, Returns returns, const std::vector<NativeArgument>& args) {
  return CallNative(procedure, returns, args);
}

}  // namespace xllhost
