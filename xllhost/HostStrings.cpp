// The strings the host hands out: counted, host-owned, and given back by the
// add-in with xlFree.
#include <cstdlib>
#include <cstring>

#include "HostState.h"

namespace xllhost {

char* NewHostString(const std::string& text) {
  if (text.size() > 255) {
    Fault("the host refused to hand out a text of " + std::to_string(text.size()) +
          " characters: a count byte says at most 255");
    return nullptr;
  }
  char* counted = static_cast<char*>(std::malloc(text.size() + 1));
  counted[0] = static_cast<char>(text.size());
  std::memcpy(counted + 1, text.data(), text.size());
  Host().outstanding.insert(counted);
  Host().released.erase(counted);
  return counted;
}

void DropHostString(char* counted) {
  Host().outstanding.erase(counted);
  std::free(counted);
}

int OutstandingStrings() { return static_cast<int>(Host().outstanding.size()); }

Answer GetName(int count, HMODULE caller) {
  if (count != 0) return Fail(xlretInvCount);
  if (caller == nullptr) return Fail(xlretFailed);
  std::string path = ModulePath(caller);
  if (path.empty()) return Fail(xlretFailed);
  Answer answer;
  answer.value.val.str = NewHostString(path);
  if (answer.value.val.str == nullptr) return Fail(xlretFailed);
  answer.value.xltype = xltypeStr;
  return answer;
}

// A string that is no longer outstanding is reported, not released:
// releasing it would corrupt the heap.
void ReleaseHostString(XLOPER& record, const char* by) {
  State& host = Host();
  if ((record.xltype & ~xlbitXLFree) != xltypeStr || record.val.str == nullptr) return;
  const char* counted = record.val.str;
  if (host.outstanding.erase(counted) == 1) {
    std::free(record.val.str);
    host.released.insert(counted);
    if (host.behaviour.freeClearsPointer) record.val.str = nullptr;
  } else if (host.released.count(counted) != 0) {
    Fault(std::string(by) + ": a host string was given back twice");
  } else {
    Fault(std::string(by) + ": given back a string the host never handed out");
  }
}

Answer Free(int count, LPXLOPER opers[]) {
  for (int i = 0; i < count; ++i) ReleaseHostString(*opers[i], "xlFree");
  return Answer{};
}

}  // namespace xllhost
