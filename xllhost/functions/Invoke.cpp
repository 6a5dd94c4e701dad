#include "functions/Invoke.h"

#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>

#include "functions/Information.h"
#include "native/Arguments.h"
#include "native/NativeCall.h"
#include "native/NumberArrays.h"
#include "native/Readable.h"
#include "records/Scratch.h"
#include "records/ThreadStorage.h"
#include "state/CallContext.h"
#include "state/Calls.h"
#include "state/HostMemory.h"

namespace xllhost {
namespace {

// Calls the procedure through the native call, which survives one that
// leaves the stack other than it found it. `who` names it, and `passes` says
// what decides the arguments (its type text, or the entry's signature), in
// the fault that reports it: the reference calls every function in a DLL
// with __stdcall (xlfregister-form-1.md), and only 32-bit Windows shows it.
// Both are made only for a fault.
// Below this address lay the frames of the last procedure called, which has
// returned: an answer pointing there points at memory no longer its own. Set
// once the call is back, so a call nested in it never leaves its own.
// Kept as a number: it is an address to compare with, never to read.
struct DeadStackMark {
  std::uintptr_t below = 0;
};
std::uintptr_t& DeadStackBelow() { return ThreadOwn<DeadStackMark>().below; }
const void* DeadStack() { return reinterpret_cast<const void*>(DeadStackBelow()); }

template <typename Who, typename Passes>
Answered CallAsExcel(FARPROC procedure, Returns returns, const std::vector<NativeArgument>& args, Who whoText,
                     Passes passesText) {
  Answered answered;
  {
    HostUnlocked running;
    answered = CallStdcall(procedure, returns, args);
  }
  DeadStackBelow() = reinterpret_cast<std::uintptr_t>(&answered);
  if (answered.removedBytes == answered.passedBytes) return answered;
  const std::string who = whoText(), passes = passesText();
  const std::string passed = std::to_string(answered.passedBytes) + " bytes of arguments";
  if (answered.removedBytes == 0)
    Fault(who + " does not use __stdcall: it left the " + passed + " on the stack, where Excel calls every "
                "function in a DLL with __stdcall, which removes them (xlfregister-form-1.md)");
  else
    Fault(who + " removed " + std::to_string(answered.removedBytes) + " bytes of arguments from the stack where " +
          passes + " passes " + passed + ": the function does not take the arguments " + passes + " says");
  return answered;
}

// An answer read as its type says; a null pointer shows #NUM!.
Value Returned(TypeCode code, const Answered& answered, HMODULE module, const std::string& who) {
  const TypeInfo& type = Info(code);
  const bool boolean = type.convertsTo == xltypeBool;
  if (!type.byReference) {
    switch (type.storage) {
      case Storage::Double: return NumberValue(answered.number);
      case Storage::Short:
        return boolean ? BooleanValue(static_cast<std::int16_t>(answered.integer) != 0)
                       : NumberValue(static_cast<std::int16_t>(answered.integer));
      case Storage::Word: return NumberValue(static_cast<std::uint16_t>(answered.integer));
      case Storage::Long: return NumberValue(static_cast<std::int32_t>(answered.integer));
      default: return ErrorValue(xlerrValue);
    }
  }
  void* pointer = reinterpret_cast<void*>(static_cast<std::uintptr_t>(answered.integer));
  if (pointer == nullptr) return ErrorValue(xlerrNum);
  // The least the answer's type lets the host read; a record is checked
  // where it is taken.
  const bool record = type.storage == Storage::Oper || type.storage == Storage::Oper12;
  const size_t least = type.storage == Storage::Double                                       ? sizeof(double)
                       : type.storage == Storage::Fp || type.storage == Storage::Fp12 ? 2 * sizeof(std::int32_t)
                                                                                      : 1;
  if (const std::string why = record ? "" : WhyNotReadable(pointer, least, DeadStack()); !why.empty()) {
    Fault(who + "'s answer " + why + ": Excel would read what is there, or crash");
    return ErrorValue(xlerrValue);
  }
  switch (type.storage) {
    case Storage::Double: return NumberValue(*static_cast<const double*>(pointer));
    case Storage::Short: {
      std::int16_t value = *static_cast<const std::int16_t*>(pointer);
      return boolean ? BooleanValue(value != 0) : NumberValue(value);
    }
    case Storage::Long: return NumberValue(*static_cast<const std::int32_t*>(pointer));
    case Storage::Bytes:
      return TextValue(type.counted ? CountedText(static_cast<const char*>(pointer)) : FromBytes(static_cast<const char*>(pointer)));
    case Storage::Wide:
      return TextValue(type.counted ? CountedText(static_cast<const XCHAR*>(pointer)) : FromWide(static_cast<const XCHAR*>(pointer)));
    case Storage::Oper: return TakeAnswer(module, static_cast<LPXLOPER>(pointer));
    case Storage::Oper12: return TakeAnswer(module, static_cast<LPXLOPER12>(pointer));
    case Storage::Fp:
    case Storage::Fp12: {
      // The array stays the add-in's: Excel never hands an FP back to be freed.
      std::string what;
      Value numbers = FloatArray(pointer, type.storage == Storage::Fp12, SIZE_MAX, &what);
      if (!what.empty()) Fault(who + " answered an array of numbers Excel cannot read: " + what);
      return numbers;
    }
    default: return ErrorValue(xlerrValue);
  }
}

// A number as a worksheet holds it: Excel shows an infinite or invalid
// double as #NUM! and stores a subnormal one, or anything smaller than its
// least normal number, as +0 (excel-worksheet-and-expression-evaluation.md).
// Negative zero stays. The same holds for each element of an array.
Value AsWorksheetNumbers(Value value) {
  if (value.Is(xltypeNum)) {
    if (!std::isfinite(value.num)) return ErrorValue(xlerrNum);
    if (value.num != 0 && std::fabs(value.num) < std::numeric_limits<double>::min()) value.num = 0;
  }
  for (Value& element : value.elements) element = AsWorksheetNumbers(element);
  return value;
}

template <typename Record>
Value TakeRecord(HMODULE module, Record* answer, const char* autoFreeName) {
  if (answer == nullptr) return ErrorValue(xlerrNum);
  if (const std::string why = WhyRecordUnreadable(answer, DeadStack()); !why.empty()) {
    Fault((Calling().inCell ? CallerCellName() + "'s answer " : std::string("an answer ")) + why +
          ": Excel would read what is there, or crash");
    return ErrorValue(xlerrValue);
  }
  if (!IsKnownType(answer->xltype)) {
    Value unknown;
    unknown.xltype = answer->xltype;
    return AsCell(unknown);
  }
  Value value = Capture(*answer);
  if ((answer->xltype & xlbitXLFree) != 0) ReleaseHostMemory(*answer, "a returned record with xlbitXLFree");
  if ((answer->xltype & xlbitDLLFree) != 0) {
    FARPROC autoFree = GetProcAddress(module, autoFreeName);
    if (autoFree != nullptr) {
      // Control is still with the add-in that answered.
      CallWithPointer(autoFree, autoFreeName, answer);
    } else {
      Fault(std::string("an answer asks to be freed, but the add-in exports no ") + autoFreeName);
    }
  }
  return value;
}

}  // namespace

Value AsCell(Value value) {
  if (value.Is(xltypeMissing) || value.Is(xltypeNil)) return NumberValue(0);
  if (!IsKnownType(value.xltype)) {
    Unusable("an answer is a record with the unknown type word " + std::to_string(value.xltype));
    return ErrorValue(xlerrValue);
  }
  return AsWorksheetNumbers(std::move(value));
}

Value TakeAnswer(HMODULE module, LPXLOPER answer) { return TakeRecord(module, answer, "xlAutoFree"); }

Value TakeAnswer(HMODULE module, LPXLOPER12 answer) { return TakeRecord(module, answer, "xlAutoFree12"); }

Value Invoke(const Registration& registration, const std::vector<Value>& given, std::uintptr_t* answerAt,
             std::uintptr_t asyncHandle) {
  const Signature& signature = registration.signature;
  const size_t handles = signature.Asynchronous() ? 1 : 0;
  if (given.size() + handles > signature.args.size()) return ErrorValue(xlerrValue);
  Scratch<Argument> argumentScratch;
  Scratch<NativeArgument> passedScratch;
  std::vector<Argument>& args = *argumentScratch;
  std::vector<NativeArgument>& passed = *passedScratch;
  args.resize(signature.args.size());
  for (size_t i = 0, g = 0; i < args.size(); ++i) {
    Value error;
    if (signature.args[i] == TypeCode::AsyncHandle)
      PrepareHandle(asyncHandle, args[i]);
    else if (!Prepare(signature.args[i], g < given.size() ? given[g] : MissingValue(), args[i], &error))
      return error;
    else
      ++g;
    args[i].TakeSnapshot();
    passed.push_back(args[i].passed);
    for (int more = 1; more < args[i].words; ++more) passed.push_back(args[i].passedToo[more - 1]);
  }
  const bool returnsDouble = signature.resultArgument == 0 && signature.result == TypeCode::Number;
  const std::string& shown = registration.functionText.empty() ? registration.procedure : registration.functionText;
  FunctionRunning running(signature.ThreadSafe() ? &shown : nullptr,
                          signature.markers.find('#') == std::string::npos ? &shown : nullptr);
  Answered answered = CallAsExcel(registration.address, returnsDouble ? Returns::Double : Returns::Integer, passed,
                                  CallerCellName, [&] { return "its type text \"" + registration.typeText + "\""; });
  const bool simple = signature.resultArgument == 0 && !Info(signature.result).byReference;
  const bool pointer = signature.resultArgument == 0 && Info(signature.result).byReference;
  if (answerAt != nullptr) *answerAt = pointer ? static_cast<std::uintptr_t>(answered.integer) : 0;
  // What a cell shows, for the faults below.
  auto whoText = [] { return CallerCellName(); };

  // Only an argument the type text lets the function modify may change.
  for (size_t i = 0; i < args.size(); ++i) {
    if (Info(args[i].code).inPlace || static_cast<int>(i) + 1 == signature.resultArgument || !args[i].Changed()) continue;
    Fault(whoText() + " changed its argument " + std::to_string(i + 1) + " (type " + Info(args[i].code).letters +
          ") in place, which its type text \"" + registration.typeText +
          "\" does not let it do: the reference names F, F%, G and G% as the types of arguments modified in "
          "place, and a digit in the type text for the one that carries the result (xlfregister-form-1.md)");
  }
  if (signature.Asynchronous()) return ErrorValue(xlerrGettingData);  // its answer comes by xlAsyncReturn
  if (signature.resultArgument != 0) {
    std::string what;
    Value value = ValueOf(args[static_cast<size_t>(signature.resultArgument) - 1], &what);
    if (!what.empty()) Fault(whoText() + " left in its argument an array of numbers Excel cannot read: " + what);
    return AsCell(value);
  }
  if (simple) return AsCell(Returned(signature.result, answered, registration.module, ""));
  return AsCell(Returned(signature.result, answered, registration.module, whoText()));
}

std::uintptr_t CallWithPointer(FARPROC entry, const char* name, const void* pointer) {
  return static_cast<std::uintptr_t>(
      CallAsExcel(
          entry, Returns::Integer, {{reinterpret_cast<std::uintptr_t>(pointer), false}}, [&] { return std::string(name); },
          [&] { return std::string("the signature of ") + name; })
          .integer);
}

std::uintptr_t CallWithoutArguments(FARPROC entry, const std::string& name) {
  return static_cast<std::uintptr_t>(
      CallAsExcel(entry, Returns::Integer, {}, [&] { return name; }, [&] { return "the signature of " + name; }).integer);
}

}  // namespace xllhost
