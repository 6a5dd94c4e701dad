// The installer's rules for Excel's start-up list, on arbitrary values of
// any type and bytes: adding our entry and removing it again leaves every
// other value exactly as it was, and an entry of ours is found again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "StartupList.h"

namespace {

// The input as a key's values: each a name byte (an OPEN number or another
// name), a type byte, a length byte and that many data bytes.
std::vector<setup::RegValue> Values(const std::uint8_t* data, std::size_t size) {
  std::vector<setup::RegValue> values;
  for (std::size_t at = 0; at + 3 <= size;) {
    setup::RegValue value;
    const int name = data[at];
    value.name = name < 200 ? setup::EntryName(name % 24) : L"Other" + std::to_wstring(name);
    value.type = data[at + 1] % 5;
    const std::size_t length = data[at + 2];
    at += 3;
    value.data.assign(data + at, data + std::min(size, at + length));
    at += length;
    bool taken = false;
    for (const setup::RegValue& other : values) taken = taken || other.name == value.name;
    if (!taken) values.push_back(value);
  }
  return values;
}

const std::wstring Ours = L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\AddIns\\Quorrel.xll";

bool IsOurs(const setup::RegValue& value) {
  return (value.type == setup::kRegSz || value.type == setup::kRegExpandSz) &&
         setup::ParseEntry(setup::ValueText(value)).path == Ours;
}

// Every value that is no entry of ours, in order of name.
std::vector<setup::RegValue> Others(std::vector<setup::RegValue> values) {
  std::vector<setup::RegValue> others;
  for (const setup::RegValue& value : values)
    if (!IsOurs(value)) others.push_back(value);
  return others;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<setup::RegValue> before = Values(data, size);
  for (const setup::RegValue& value : before) setup::ParseEntry(setup::ValueText(value));
  const setup::Added added = setup::AddEntry(before, L"/R \"" + Ours + L"\"", IsOurs);
  bool found = false;
  for (const setup::RegValue& value : added.values) found = found || (IsOurs(value) && value.name == added.name);
  if (!found) std::abort();  // the entry said to hold ours does not
  const setup::Removed removed = setup::RemoveEntries(added.values, IsOurs);
  for (const setup::RegValue& value : removed.values)
    if (IsOurs(value)) std::abort();  // an entry of ours stayed
  // The other values keep their bytes and types; only the names of the
  // entries after a removed one move down.
  const std::vector<setup::RegValue> others = Others(before), left = Others(removed.values);
  if (others.size() != left.size()) std::abort();
  for (const setup::RegValue& value : others) {
    bool kept = false;
    for (const setup::RegValue& after : left) kept = kept || (after.type == value.type && after.data == value.data);
    if (!kept) std::abort();
  }
  return 0;
}
