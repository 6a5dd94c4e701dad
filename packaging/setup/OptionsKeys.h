// The Options keys of Excel under HKCU\Software\Microsoft\Office, read whole
// before anything changes and written back value by value.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "StartupList.h"

namespace setup {

// One version's HKCU\Software\Microsoft\Office\<version>\Excel\Options, open,
// with every value it held when it was opened.
struct OptionsKey {
  std::wstring version;
  std::wstring path;                  // for messages: HKCU\...\Options
  HKEY handle = nullptr;
  std::vector<RegValue> snapshot;
  std::vector<std::wstring> created;  // the keys opening made, outermost first
};

// Opens (or, with `create`, makes) the Options key of each version: 16.0
// always when creating, and each other version whose key exists. A version
// without an Options key is skipped when not creating. On failure `error`
// names the key and the Windows error, and every key made is deleted again.
bool OpenOptionsKeys(bool create, std::vector<OptionsKey>& keys, std::wstring& error);

// Makes the key hold exactly `values`: sets what differs from what it holds
// now, deletes what `values` lacks. Values already equal are not written.
bool WriteValues(OptionsKey& key, const std::vector<RegValue>& values, std::wstring& error);

// Every value of the key now, as stored.
bool ReadValues(HKEY key, std::vector<RegValue>& values);

// Puts every key back as its snapshot holds it and deletes the keys that
// opening made. Returns false when any of that failed.
bool Restore(std::vector<OptionsKey>& keys);

void Close(std::vector<OptionsKey>& keys);

}  // namespace setup
