#include "StartupList.h"

#include <algorithm>
#include <cwctype>

namespace setup {

bool operator==(const RegValue& a, const RegValue& b) {
  return a.name == b.name && a.type == b.type && a.data == b.data;
}

RegValue TextValue(const std::wstring& name, const std::wstring& text) {
  RegValue value{name, kRegSz, {}};
  for (wchar_t c : text) {
    value.data.push_back(static_cast<unsigned char>(c & 0xFF));
    value.data.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
  }
  value.data.insert(value.data.end(), {0, 0});
  return value;
}

std::wstring ValueText(const RegValue& value) {
  std::wstring text;
  for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
    wchar_t c = static_cast<wchar_t>(value.data[i] | (value.data[i + 1] << 8));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

std::wstring EntryName(int index) {
  return index == 0 ? L"OPEN" : L"OPEN" + std::to_wstring(index);
}

int EntryIndex(const std::wstring& name) {
  if (name.size() < 4 || name.size() > 8) return -1;
  for (size_t i = 0; i < 4; ++i) {
    if (std::towupper(name[i]) != static_cast<std::wint_t>(L"OPEN"[i])) return -1;
  }
  if (name.size() == 4) return 0;
  if (name[4] == L'0') return -1;  // Excel reads OPEN1, never OPEN01
  int index = 0;
  for (size_t i = 4; i < name.size(); ++i) {
    if (name[i] < L'0' || name[i] > L'9') return -1;
    index = index * 10 + (name[i] - L'0');
  }
  return index;
}

Entry ParseEntry(const std::wstring& text) {
  Entry entry;
  size_t at = 0;
  auto skipSpaces = [&] {
    while (at < text.size() && text[at] == L' ') ++at;
  };
  for (skipSpaces(); at < text.size() && text[at] == L'/'; skipSpaces()) {
    size_t end = text.find(L' ', at);
    if (end == std::wstring::npos) end = text.size();
    entry.switches.push_back(text.substr(at, end - at));
    at = end;
  }
  if (at < text.size() && text[at] == L'"') {
    entry.quoted = true;
    size_t close = text.find(L'"', at + 1);
    entry.closed = close != std::wstring::npos;
    entry.path = text.substr(at + 1, entry.closed ? close - at - 1 : std::wstring::npos);
  } else {
    entry.path = text.substr(at);
    while (!entry.path.empty() && entry.path.back() == L' ') entry.path.pop_back();
  }
  return entry;
}

namespace {

// The value of entry `index`, or null.
const RegValue* At(const std::vector<RegValue>& values, int index) {
  for (const RegValue& value : values) {
    if (EntryIndex(value.name) == index) return &value;
  }
  return nullptr;
}

int FirstFree(const std::vector<RegValue>& values) {
  int index = 0;
  while (At(values, index)) ++index;
  return index;
}

// The lowest index whose entry is ours, or -1.
int FirstOurs(const std::vector<RegValue>& values, const IsOurs& isOurs) {
  int found = -1;
  for (const RegValue& value : values) {
    int index = EntryIndex(value.name);
    if (index >= 0 && (found < 0 || index < found) && isOurs(value)) found = index;
  }
  return found;
}

// Replaces the value of entry `index` (whatever the case of its name), or adds it.
void Put(std::vector<RegValue>& values, int index, RegValue value) {
  value.name = EntryName(index);
  for (RegValue& old : values) {
    if (EntryIndex(old.name) == index) {
      value.name = old.name;
      old = value;
      return;
    }
  }
  values.push_back(value);
}

void Erase(std::vector<RegValue>& values, int index) {
  values.erase(std::remove_if(values.begin(), values.end(),
                              [index](const RegValue& value) { return EntryIndex(value.name) == index; }),
               values.end());
}

}  // namespace

Added AddEntry(const std::vector<RegValue>& values, const std::wstring& entry, const IsOurs& isOurs) {
  Added added{values, {}, false};
  int ours = FirstOurs(values, isOurs);
  if (ours >= 0) {
    added.name = EntryName(ours);
    added.already = true;
    return added;
  }
  int free = FirstFree(values);
  added.name = EntryName(free);
  Put(added.values, free, TextValue(added.name, entry));
  return added;
}

Removed RemoveEntries(const std::vector<RegValue>& values, const IsOurs& isOurs) {
  Removed removed{values, {}, 0};
  for (int ours; (ours = FirstOurs(removed.values, isOurs)) >= 0;) {
    removed.names.push_back(EntryName(ours));
    int at = ours;
    for (const RegValue* next; (next = At(removed.values, at + 1)) != nullptr; ++at) {
      Put(removed.values, at, *next);
      ++removed.moved;
    }
    Erase(removed.values, at);
  }
  return removed;
}

}  // namespace setup
