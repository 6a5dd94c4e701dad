// What the host hands out and the add-in gives back with xlFree: counted
// byte strings, wide counted strings and arrays, each counted until given
// back. An array owns the strings of its elements.
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "state/HostMemory.h"

#include "records/ThreadStorage.h"
#include "state/Calls.h"
#include "state/Behaviour.h"
#include "state/HostPart.h"

namespace xllhost {
namespace {

// Host memory handed out and not yet given back: a string's or an array's,
// charged to what took it, and whether a check has reported it.
struct HeldMemory {
  bool array;
  std::string taker;
  DWORD thread;  // the thread it was handed out on, the one to give it back on
  bool reported = false;
};
struct Ledger {
  std::map<const void*, HeldMemory> outstanding;
  std::set<const void*> released;  // given back, not yet reused
};
Ledger& Held() { return HostPart<Ledger>(); }

// What takes the host memory handed out on this thread.
struct TakerOnThread {
  std::string name = "the add-in";
};
std::string& Taker() { return ThreadOwn<TakerOnThread>().name; }

// Host memory comes from the C heap, as FreeContent gives it back.
struct HeapStorage {
  template <typename Char>
  Char* Keep(const std::basic_string<Char>& counted) {
    auto* copy = static_cast<Char*>(std::malloc(counted.size() * sizeof(Char)));
    std::memcpy(copy, counted.data(), counted.size() * sizeof(Char));
    return copy;
  }
  template <typename Record>
  Record* KeepArray(size_t count) {
    return static_cast<Record*>(std::calloc(count, sizeof(Record)));
  }
};

template <typename Record>
void FreeContent(Record& record) {
  switch (PlainType(record.xltype)) {
    case xltypeStr: std::free(record.val.str); break;
    case xltypeMulti:
      for (int i = 0; i < record.val.array.rows * record.val.array.columns; ++i)
        FreeContent(record.val.array.lparray[i]);
      std::free(record.val.array.lparray);
      break;
    case xltypeRef: std::free(record.val.mref.lpmref); break;
    default: break;
  }
}

template <typename Record>
const void* MemoryOf(const Record& record) {
  switch (PlainType(record.xltype)) {
    case xltypeStr: return record.val.str;
    case xltypeMulti: return record.val.array.lparray;
    case xltypeRef: return record.val.mref.lpmref;
    default: return nullptr;
  }
}

// A text that does not fit a count is refused, never handed out cut.
template <typename Record>
bool HandOutRecord(const Value& value, Record& record) {
  using Char = std::remove_pointer_t<decltype(record.val.str)>;
  if (size_t longest = LongestText<Char>(value); longest > MaxCount<Char>) {
    Fault("the host refused to hand out a text of " + std::to_string(longest) + " characters: a count says at most " +
          std::to_string(MaxCount<Char>));
    return false;
  }
  HeapStorage heap;
  WriteRecord(value, record, heap);
  if (const void* memory = MemoryOf(record)) {
    Held().outstanding[memory] = HeldMemory{PlainType(record.xltype) == xltypeMulti, Taker(), GetCurrentThreadId()};
    Held().released.erase(memory);
  }
  return true;
}

// Memory that is no longer outstanding is reported, not released: releasing
// it would corrupt the heap.
template <typename Record>
void ReleaseRecord(Record& record, const char* by) {
  const void* memory = MemoryOf(record);
  if (memory == nullptr) return;
  if (const auto held = Held().outstanding.find(memory); held != Held().outstanding.end()) {
    if (held->second.thread != GetCurrentThreadId())
      Fault(std::string(by) + ": gives back on one thread host memory handed out on another, where each thread's "
                              "host memory is its own");
    Held().outstanding.erase(held);
    FreeContent(record);
    Held().released.insert(memory);
    if (Behave().freeClearsPointer) {
      if ((PlainType(record.xltype)) == xltypeStr)
        record.val.str = nullptr;
      else if (PlainType(record.xltype) == xltypeRef)
        record.val.mref.lpmref = nullptr;
      else
        record.val.array.lparray = nullptr;
    }
  } else if (Held().released.count(memory) != 0) {
    Fault(std::string(by) + ": memory of the host given back twice");
  } else {
    Fault(std::string(by) + ": given back memory the host never handed out");
  }
}

}  // namespace

bool HoldsGivenBack(const XLOPER& record) { return Held().released.count(MemoryOf(record)) != 0; }

bool HoldsGivenBack(const XLOPER12& record) { return Held().released.count(MemoryOf(record)) != 0; }

bool HandOut(const Value& value, XLOPER& record) { return HandOutRecord(value, record); }
bool HandOut(const Value& value, XLOPER12& record) { return HandOutRecord(value, record); }

void ReleaseHostMemory(XLOPER& record, const char* by) { ReleaseRecord(record, by); }
void ReleaseHostMemory(XLOPER12& record, const char* by) { ReleaseRecord(record, by); }

int OutstandingHostMemory() { return static_cast<int>(Held().outstanding.size()); }

void ChargeHostMemoryTo(const std::string& who) { Taker() = who; }

const std::string& HostMemoryTaker() { return Taker(); }

std::vector<std::string> HostMemoryNotGivenBack(const std::string* taker) {
  std::map<std::string, std::pair<int, int>> counts;  // strings and arrays of each taker
  for (auto& [memory, held] : Held().outstanding) {
    if (held.reported || (taker != nullptr && held.taker != *taker)) continue;
    held.reported = true;
    (held.array ? counts[held.taker].second : counts[held.taker].first)++;
  }
  auto some = [](int count, const char* what) {
    return std::to_string(count) + " host " + what + (count == 1 ? "" : "s");
  };
  std::vector<std::string> lines;
  for (const auto& [who, count] : counts) {
    const auto [strings, arrays] = count;
    std::string what = strings != 0 ? some(strings, "string") : "";
    if (arrays != 0) what += (what.empty() ? "" : " and ") + some(arrays, "array");
    lines.push_back(who + " did not give back " + what);
  }
  return lines;
}

}  // namespace xllhost
