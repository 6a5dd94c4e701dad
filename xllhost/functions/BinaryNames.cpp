#include "functions/BinaryNames.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "formulas/Literals.h"  // IsWorksheetName
#include "native/Readable.h"
#include "state/Calls.h"  // Fault
#include "state/HostPart.h"

namespace xllhost {
namespace {

// The data, and the global memory handle xlGetBinaryName gives out, which
// the host owns: freed when the name is defined again or deleted, or the
// host starts afresh.
struct Stored {
  std::string name;  // as defined
  std::string bytes;
  HGLOBAL handle = nullptr;

  Stored() = default;
  Stored(const Stored&) = delete;
  Stored& operator=(const Stored&) = delete;
  ~Stored() {
    if (handle != nullptr) GlobalFree(handle);
  }
};

struct BinaryNameTable {
  std::map<std::string, Stored> names;  // keys upper-cased: names ignore case
};
BinaryNameTable& Kept() { return HostPart<BinaryNameTable>(); }

}  // namespace

Answer DefineBinaryName(const Request& request) {
  const std::vector<Value>& args = request.args;
  if (args.empty() || args.size() > 2) return Fail(xlretInvCount);
  if (!args[0].Is(xltypeStr) || !IsWorksheetName(args[0].text)) return Fail(xlretFailed);
  const std::string key = Upper(args[0].text);
  if (args.size() == 1 || args[1].Is(xltypeMissing)) {
    Kept().names.erase(key);
    return Success(Value{});
  }
  const Value& data = args[1];
  if (!data.Is(xltypeBigData) || data.integer < 0) return Fail(xlretInvXloper);
  const auto size = static_cast<size_t>(data.integer);
  // The one function that reads the bytes behind binary data reads them
  // now, while the add-in's call lasts.
  const std::string why = size > 0 ? WhyNotReadable(data.pointer, size) : "";
  if (!why.empty()) {
    Fault("xlDefineBinaryName: argument 2 is binary data that " + why + ": Excel would read what is there, or crash");
    return Fail(xlretInvXloper);
  }
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(size, 1));
  if (handle == nullptr) return Fail(xlretFailed);
  if (size > 0) std::memcpy(GlobalLock(handle), data.pointer, size), GlobalUnlock(handle);
  Kept().names.erase(key);
  Stored& stored = Kept().names[key];
  stored.name = args[0].text;
  stored.bytes.assign(data.pointer, size);
  stored.handle = handle;
  return Success(Value{});
}

// A name never defined is an error value: the reference names none, and
// xllhost answers #N/A.
Answer GetBinaryName(const Request& request) {
  if (request.args.size() != 1) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  const auto found = Kept().names.find(Upper(request.args[0].text));
  if (found == Kept().names.end()) return Success(ErrorValue(xlerrNA));
  Value data;
  data.xltype = xltypeBigData;
  data.pointer = static_cast<const char*>(found->second.handle);
  data.integer = static_cast<std::int32_t>(found->second.bytes.size());
  return Success(data);
}

std::vector<std::pair<std::string, size_t>> BinaryNames() {
  std::vector<std::pair<std::string, size_t>> all;
  for (const auto& [key, stored] : Kept().names) all.emplace_back(stored.name, stored.bytes.size());
  return all;
}

}  // namespace xllhost
