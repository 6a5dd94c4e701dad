// Excel's list of add-ins to open at start-up: the values OPEN, OPEN1, OPEN2,
// ... of HKCU\Software\Microsoft\Office\<version>\Excel\Options. Excel reads
// them in order and stops at the first number without a value. Each holds
// optional switches (/R: read-only) and a path, quoted when it has spaces.
//
// Everything here works on copies of a key's values and touches no registry,
// so the rules that decide what the installer writes are testable alone.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace setup {

constexpr unsigned long kRegSz = 1;        // REG_SZ
constexpr unsigned long kRegExpandSz = 2;  // REG_EXPAND_SZ

// One registry value exactly as stored. A value the installer does not own
// only ever travels inside one of these: never decoded, expanded or re-quoted.
struct RegValue {
  std::wstring name;
  unsigned long type = kRegSz;
  std::vector<unsigned char> data;
};
bool operator==(const RegValue& a, const RegValue& b);

// A REG_SZ value holding text and its terminating NUL.
RegValue TextValue(const std::wstring& name, const std::wstring& text);
// The text of a value, up to its first NUL or its end.
std::wstring ValueText(const RegValue& value);

// "OPEN" for 0, "OPEN<n>" after.
std::wstring EntryName(int index);
// The index of a value named OPEN or OPEN<n> (registry names ignore case), or -1.
int EntryIndex(const std::wstring& name);

// An entry's switches and path. `closed` is false when a quoted path has no
// closing quote; `path` then runs to the end of the text.
struct Entry {
  std::vector<std::wstring> switches;
  std::wstring path;
  bool quoted = false;
  bool closed = true;
};
Entry ParseEntry(const std::wstring& text);

// Whether an entry value names the installer's own file, in whatever form.
using IsOurs = std::function<bool(const RegValue&)>;

// The values of a key after adding `entry` as the first free OPEN<n>, unless
// an entry of ours is there already. Every other value is carried unchanged.
struct Added {
  std::vector<RegValue> values;
  std::wstring name;  // the value that holds our entry
  bool already = false;
};
Added AddEntry(const std::vector<RegValue>& values, const std::wstring& entry, const IsOurs& isOurs);

// The values of a key without our entries. The entries after each removed
// one, up to the first missing number, move down by one with their exact
// type and bytes, so Excel, which stops at a gap, still finds them.
struct Removed {
  std::vector<RegValue> values;
  std::vector<std::wstring> names;  // the values that held our entries, when each was removed
  int moved = 0;                    // entries moved down
};
Removed RemoveEntries(const std::vector<RegValue>& values, const IsOurs& isOurs);

}  // namespace setup
