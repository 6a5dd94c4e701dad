#include "functions/RegisterArguments.h"

#include "formulas/Formula.h"

namespace xllhost {
namespace {

// Positions of xlfRegister's arguments that may be numbers as well as text.
constexpr int MacroTypeArgument = 5;
constexpr int CategoryArgument = 6;

}  // namespace

bool OmitsTypeText(const std::vector<Value>& args) {
  return args.size() < 3 || args[2].Is(xltypeMissing) || args[2].Is(xltypeNil);
}

Target FindTarget(const std::vector<Value>& args) {
  Target target;
  const Value& procedure = args[1];
  if (!IsString(args[0]) || !(IsString(procedure) || IsNumber(procedure)) ||
      (args.size() >= 3 && !IsString(args[2]) && !OmitsTypeText(args))) {
    target.code = xlretInvXloper;
    return target;
  }
  target.module = GetModuleHandleW(ToWide(args[0].text).c_str());
  if (!OmitsTypeText(args)) {
    target.typeText = args[2].text;
    std::string why;
    bool lacking = false;
    if (!ParseTypeText(target.typeText, &target.signature, &why, &lacking)) {
      (lacking ? target.unusable : target.refused) = why;
      target.code = lacking ? xlretInvXloper : xlretFailed;
      return target;
    }
  }
  if (IsString(procedure)) {
    target.procedure = procedure.text;
    if (target.module != nullptr) target.address = GetProcAddress(target.module, target.procedure.c_str());
  } else {
    double ordinal = NumberOf(procedure);
    target.procedure = "#" + std::to_string(static_cast<long long>(ordinal));
    if (target.module != nullptr && ordinal >= 1 && ordinal <= 0xFFFF && ordinal == static_cast<WORD>(ordinal))
      target.address = GetProcAddress(target.module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
  }
  if (target.address == nullptr) {
    target.code = xlretFailed;
    target.refused = target.module == nullptr ? "names a DLL that is not loaded, " + args[0].text
                                              : "names " + target.procedure + ", which the DLL does not export";
  }
  return target;
}

std::vector<Value> UpToNul(const std::vector<Value>& args, bool* typeText) {
  std::vector<Value> taken = args;
  for (size_t i = 0; i < taken.size(); ++i) {
    if (!IsString(taken[i]) || !CountsItsNul(taken[i].text)) continue;
    taken[i].text.pop_back();
    if (typeText != nullptr && i == 2) *typeText = true;
  }
  return taken;
}

bool IsCommand(const std::vector<Value>& args) {
  return args.size() > MacroTypeArgument && IsNumber(args[MacroTypeArgument]) && NumberOf(args[MacroTypeArgument]) == 2;
}

bool IsOptionalArgument(size_t index, const Value& value) {
  if (value.xltype == xltypeMissing || value.xltype == xltypeNil || IsString(value)) return true;
  return (index == MacroTypeArgument || index == CategoryArgument) && IsNumber(value);
}

}  // namespace xllhost
