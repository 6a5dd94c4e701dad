// Host memory: strings and arrays in the result records the host fills,
// counted until the add-in gives them back with xlFree.
#pragma once

#include <string>
#include <vector>

#include "records/Values.h"

namespace xllhost {

// A text longer than a count can say is refused (false), never handed out wrapped.
bool HandOut(const Value& value, XLOPER& record);
bool HandOut(const Value& value, XLOPER12& record);
// Releases the host memory a record holds; `by` names who gave it back, for
// the fault reported when it is not the host's to release.
void ReleaseHostMemory(XLOPER& record, const char* by);
void ReleaseHostMemory(XLOPER12& record, const char* by);

// Whether the record's string or array is host memory already given back:
// what it points at is the heap's again, and no longer to be read.
bool HoldsGivenBack(const XLOPER& record);
bool HoldsGivenBack(const XLOPER12& record);

// Host strings and arrays handed out and not given back.
int OutstandingHostMemory();

// What takes the host memory handed out on this thread from now on (an
// entry, a cell), for the report of what was not given back. Each thread
// has its own: cells are calculated on several at once.
void ChargeHostMemoryTo(const std::string& who);
const std::string& HostMemoryTaker();
// One line for each taker of host memory not given back that no earlier
// call reported: "cell A1 =F() did not give back 1 host array". With
// `taker`, only that one's: other cells may be calculating.
std::vector<std::string> HostMemoryNotGivenBack(const std::string* taker = nullptr);

}  // namespace xllhost
