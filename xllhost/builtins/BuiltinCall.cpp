#include "builtins/BuiltinCall.h"

namespace xllhost {

Value BuiltinCall::Values(size_t i) const {
  const Operand& arg = args[i];
  if (!arg.IsReference()) return arg.value;
  return AreaValues(book, arg.sheet, arg.area, notCalculated);
}

Value BuiltinCall::Scalar(size_t i) const {
  if (i >= args.size()) return Value{};
  const Operand& arg = args[i];
  if (arg.IsReference() && place.array && !arg.area.IsCell()) return Values(i);
  return IntersectedValue(book, place, arg, notCalculated);
}

Value BuiltinCall::NotCalculated(const std::string& why) const {
  *notCalculated = why;
  return ErrorValue(xlerrNA);
}

}  // namespace xllhost
