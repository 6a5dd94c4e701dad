// The strings the host hands out: counted, host-owned, and given back by the
// add-in with xlFree.
#include <cstdlib>
#include <cstring>

#include "HostState.h"

namespace xllhost {

char* NewHostString(const std::string& text) {
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
  if (path.empty() || path.size() > 255) return Fail(xlretFailed);
  Answer answer;
  answer.value.val.str = NewHostString(path);
  answer.value.xltype = xltypeStr;
  return answer;
}

// Gives back the host strings the records hold. A string that is no longer
// outstanding is reported, not released: releasing it would corrupt the heap.
Answer Free(int count, LPXLOPER opers[]) {
  State& host = Host();
  for (int i = 0; i < count; ++i) {
    XLOPER& record = *opers[i];
    if ((record.xltype & ~xlbitXLFree) != xltypeStr || record.val.str == nullptr) continue;
    const char* counted = record.val.str;
    if (host.outstanding.erase(counted) == 1) {
      std::free(record.val.str);
      host.released.insert(counted);
      if (host.behaviour.freeClearsPointer) record.val.str = nullptr;
    } else if (host.released.count(counted) != 0) {
      Fault("xlFree: a host string was given back twice");
    } else {
      Fault("xlFree: given back a string the host never handed out");
    }
  }
  return Answer{};
}

}  // namespace xllhost
