#include "builtins/InformationFunctions.h"

#include <functional>
#include <vector>

#include "builtins/Operators.h"

namespace xllhost {
namespace {

Value Test(const BuiltinCall& c, bool (*test)(const Value&)) {
  return ElementWise({c.Scalar(0)}, [test](const std::vector<Value>& v) { return BooleanValue(test(v[0])); });
}

// The one value N and T read. Whether Excel takes an array whole or its
// first element, its help does not say: xllhost leaves an array
// uncalculated.
bool OneValue(const BuiltinCall& c, Value* value) {
  *value = c.Scalar(0);
  if (!value->Is(xltypeMulti)) return true;
  *value = c.NotCalculated("N or T of an array");
  return false;
}

}  // namespace

// TYPE: 1 for a number (and an empty cell), 2 a text, 4 a Boolean, 16 an
// error, 64 an array. Of a reference to several cells Microsoft's help says
// nothing; it is left uncalculated.
Value TypeOf(const BuiltinCall& c) {
  const Operand& arg = c.args[0];
  if (arg.IsReference() && !arg.area.IsCell())
    return c.NotCalculated("TYPE of a reference to several cells");
  const Value value = c.Values(0);
  if (value.Is(xltypeStr)) return NumberValue(2);
  if (value.Is(xltypeBool)) return NumberValue(4);
  if (value.Is(xltypeErr)) return NumberValue(16);
  if (value.Is(xltypeMulti)) return NumberValue(64);
  return NumberValue(1);
}

// ERROR.TYPE: #NULL! 1, #DIV/0! 2, #VALUE! 3, #REF! 4, #NAME? 5, #NUM! 6,
// #N/A 7, #GETTING_DATA 8; what is no error is #N/A.
Value ErrorType(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0)}, [](const std::vector<Value>& v) {
    const int codes[] = {xlerrNull, xlerrDiv0, xlerrValue, xlerrRef, xlerrName, xlerrNum, xlerrNA, xlerrGettingData};
    for (int i = 0; i < 8; ++i)
      if (v[0].Is(xltypeErr) && v[0].err == codes[i]) return NumberValue(i + 1);
    return ErrorValue(xlerrNA);
  });
}

Value IsErr(const BuiltinCall& c) {
  return Test(c, [](const Value& v) { return v.Is(xltypeErr) && v.err != xlerrNA; });
}
Value IsLogical(const BuiltinCall& c) {
  return Test(c, [](const Value& v) { return v.Is(xltypeBool); });
}
Value IsNonText(const BuiltinCall& c) {
  return Test(c, [](const Value& v) { return !v.Is(xltypeStr); });
}

// N: a number stays itself, TRUE is 1, an error stays itself, and all else
// is 0.
Value NumberOf(const BuiltinCall& c) {
  Value value;
  if (!OneValue(c, &value) || value.Is(xltypeNum) || value.Is(xltypeErr)) return value;
  return NumberValue(value.Is(xltypeBool) && value.boolean ? 1 : 0);
}
// T: a text or an error stays itself; all else is "".
Value TextOf(const BuiltinCall& c) {
  Value value;
  if (!OneValue(c, &value) || value.Is(xltypeStr) || value.Is(xltypeErr)) return value;
  return TextValue("");
}

}  // namespace xllhost
