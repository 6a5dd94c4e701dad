#include "catalog/BuiltinIndex.h"

#include <string_view>
#include <unordered_map>

namespace xllhost {

// Every formula's every call asks by name: an index made once, on first
// use (C++ makes that safe on any thread).
const Builtin* FindBuiltin(const std::string& name) {
  static const std::unordered_map<std::string_view, const Builtin*> byName = [] {
    std::unordered_map<std::string_view, const Builtin*> index;
    for (const Builtin& builtin : AllBuiltins()) index.emplace(builtin.name, &builtin);
    return index;
  }();
  const auto found = byName.find(name);
  return found == byName.end() ? nullptr : found->second;
}

const Builtin* FindBuiltin(int xlfn) {
  for (const Builtin& builtin : AllBuiltins())
    if (xlfn == builtin.xlfn && xlfn != NoNumber) return &builtin;
  return nullptr;
}

}  // namespace xllhost
