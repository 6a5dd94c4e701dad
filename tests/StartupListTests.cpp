// The installer's rules for Excel's start-up list, on values in memory.
#include <gtest/gtest.h>

#include <windows.h>

#include "InstalledFile.h"
#include "StartupList.h"

using namespace setup;

namespace {

const std::wstring kOurs = L"/R \"C:\\Users\\Zoë\\AppData\\Roaming\\Microsoft\\AddIns\\Quorrel.xll\"";

bool Ours(const RegValue& value) { return ParseEntry(ValueText(value)).path.find(L"Quorrel.xll") != std::wstring::npos; }

// A value of another add-in whose bytes no text round trip would keep: an
// expandable string with a literal %, and odd trailing bytes after its NUL.
RegValue Foreign(const std::wstring& name) {
  RegValue value = TextValue(name, L"\"C:\\100% Sure\\%APPDATA%\\A.xll\"");
  value.type = kRegExpandSz;
  value.data.insert(value.data.end(), {0x21, 0x00, 0x7F});
  return value;
}

RegValue OursAs(const std::wstring& name) { return TextValue(name, kOurs); }

RegValue Renamed(RegValue value, const std::wstring& name) {
  value.name = name;
  return value;
}

}  // namespace

TEST(StartupList, NamesEntriesAsExcelReadsThem) {
  EXPECT_EQ(EntryName(0), L"OPEN");
  EXPECT_EQ(EntryName(12), L"OPEN12");
  const std::pair<const wchar_t*, int> names[] = {{L"OPEN", 0}, {L"open3", 3}, {L"OPEN10", 10}, {L"OPEN01", -1},
                                                  {L"OPEN0", -1}, {L"OPENX", -1}, {L"OPE", -1}, {L"XOPEN1", -1}};
  for (const auto& [name, index] : names) EXPECT_EQ(EntryIndex(name), index) << std::string(name, name + wcslen(name));
}

TEST(StartupList, ParsesSwitchesAndQuotedOrBarePaths) {
  struct Case {
    const wchar_t* text;
    size_t switches;
    const wchar_t* path;
    bool closed;
  } cases[] = {
      {L"/R \"C:\\My Add-ins\\A.xll\"", 1, L"C:\\My Add-ins\\A.xll", true},
      {L"\"C:\\A&B\\Y.xlam\"", 0, L"C:\\A&B\\Y.xlam", true},
      {L"C:\\My Addins\\X.xla  ", 0, L"C:\\My Addins\\X.xla", true},
      {L"/R /A Quorrel.xll", 2, L"Quorrel.xll", true},
      {L"/R \"C:\\no closing quote.xll", 1, L"C:\\no closing quote.xll", false},
  };
  for (const Case& c : cases) {
    Entry entry = ParseEntry(c.text);
    EXPECT_EQ(entry.switches.size(), c.switches);
    EXPECT_EQ(entry.path, c.path);
    EXPECT_EQ(entry.closed, c.closed);
  }
}

TEST(StartupList, AddsAtTheFirstFreeNumberAndCarriesEveryOtherValue) {
  RegValue other = TextValue(L"Options", L"kept");
  std::vector<RegValue> values{Foreign(L"OPEN"), Foreign(L"OPEN2"), other};
  Added added = AddEntry(values, kOurs, Ours);
  EXPECT_FALSE(added.already);
  EXPECT_EQ(added.name, L"OPEN1");
  std::vector<RegValue> expected{Foreign(L"OPEN"), Foreign(L"OPEN2"), other, OursAs(L"OPEN1")};
  EXPECT_EQ(added.values, expected);
}

TEST(StartupList, AddsNothingWhenAnEntryOfOursIsThere) {
  std::vector<RegValue> values{Foreign(L"OPEN"), OursAs(L"Open1")};
  Added added = AddEntry(values, kOurs, Ours);
  EXPECT_TRUE(added.already);
  EXPECT_EQ(added.name, L"OPEN1");
  EXPECT_EQ(added.values, values);
}

TEST(StartupList, RemovingMovesTheFollowingEntriesDownWithTheirExactBytes) {
  RegValue second = Foreign(L"OPEN2");
  second.data.back() = 0x42;  // each moved entry keeps its own bytes
  RegValue afterGap = Foreign(L"OPEN5");  // Excel never reaches it, so it stays where it is
  std::vector<RegValue> values{Foreign(L"OPEN"), OursAs(L"OPEN1"), second, Foreign(L"OPEN3"), afterGap};
  Removed removed = RemoveEntries(values, Ours);
  std::vector<RegValue> expected{Foreign(L"OPEN"), Renamed(second, L"OPEN1"), Foreign(L"OPEN2"), afterGap};
  EXPECT_EQ(removed.values, expected);
  EXPECT_EQ(removed.names, std::vector<std::wstring>{L"OPEN1"});
  EXPECT_EQ(removed.moved, 2);
}

TEST(StartupList, RemovesEveryEntryOfOursAndLeavesAKeyWithoutOneAlone) {
  std::vector<RegValue> values{OursAs(L"OPEN"), Foreign(L"OPEN1"), OursAs(L"OPEN2")};
  Removed removed = RemoveEntries(values, Ours);
  EXPECT_EQ(removed.values, std::vector<RegValue>{Foreign(L"OPEN")});
  EXPECT_EQ(removed.names, (std::vector<std::wstring>{L"OPEN", L"OPEN1"}));

  std::vector<RegValue> foreign{Foreign(L"OPEN"), Foreign(L"OPEN1")};
  Removed none = RemoveEntries(foreign, Ours);
  EXPECT_TRUE(none.names.empty());
  EXPECT_EQ(none.values, foreign);
}

TEST(InstalledFile, IsRecognisedInEveryFormAnEntryMayGiveIt) {
  const std::wstring roaming = L"C:\\Users\\Zoë Müller!\\AppData\\Roaming";
  const std::wstring installed = roaming + L"\\Microsoft\\AddIns\\Quorrel.xll";
  SetEnvironmentVariableW(L"QUORREL_TEST_ROAMING", roaming.c_str());
  for (const wchar_t* path : {L"C:\\USERS\\ZOË MÜLLER!\\APPDATA\\ROAMING\\MICROSOFT\\ADDINS\\QUORREL.XLL",
                              L"%QUORREL_TEST_ROAMING%\\Microsoft\\AddIns\\Quorrel.xll",
                              L"C:/Users/Zoë Müller!/AppData/Roaming/Microsoft/AddIns/../AddIns/Quorrel.xll",
                              L"quorrel.XLL"}) {
    EXPECT_TRUE(NamesInstalledFile(path, installed));
  }
  for (const wchar_t* path : {L"C:\\Other\\Quorrel.xll", L"Quorrel.xlam", L"%QUORREL_TEST_ROAMING%\\Quorrel.xll",
                              L"%QUORREL_TEST_UNSET%\\Microsoft\\AddIns\\Quorrel.xll"}) {
    EXPECT_FALSE(NamesInstalledFile(path, installed));
  }
}
