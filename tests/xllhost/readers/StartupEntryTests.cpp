// Reading Excel's start-up list as xllhost models it, apart from the
// installer's reader: value names, switches and paths, and what it cannot tell.
// Built for Windows with xllhost's tests and natively under the sanitizers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "readers/StartupEntry.h"

namespace {

TEST(StartupEntry, NumbersOpenValuesAsExcelReadsThem) {
  const std::pair<const char*, int> cases[] = {
      {"OPEN", 0}, {"open", 0},   {"Open12", 12}, {"OPEN1", 1},  {"OPEN01", -1},      {"OPEN0", -1},
      {"OPENX", -1}, {"OPE", -1}, {"XOPEN", -1},  {"OPEN 1", -1}, {"OPEN9999999", -1}, {"", -1},
  };
  for (const auto& [name, index] : cases) EXPECT_EQ(xllhost::StartupIndex(name), index) << name;
}

TEST(StartupEntry, ReadsSwitchesAndAPathQuotedOrNot) {
  struct Case {
    const char* text;
    std::vector<std::string> switches;
    const char* path;
  };
  const Case cases[] = {
      {"/R \"C:\\Add ins\\A.xll\"", {"/R"}, "C:\\Add ins\\A.xll"},
      {"\"C:\\Wow!\\B.xll\"", {}, "C:\\Wow!\\B.xll"},
      {"C:\\My Addins\\X.xla  ", {}, "C:\\My Addins\\X.xla"},
      {"  /R\t/F Quorrel.xll", {"/R", "/F"}, "Quorrel.xll"},
      {"/R \"C:\\100% Sure\\A.xll\"  ", {"/R"}, "C:\\100% Sure\\A.xll"},
  };
  for (const Case& c : cases) {
    xllhost::StartupEntry entry = xllhost::ReadStartupEntry(c.text);
    EXPECT_EQ(entry.wrong, "") << c.text;
    EXPECT_EQ(entry.switches, c.switches) << c.text;
    EXPECT_EQ(entry.path, c.path) << c.text;
  }
}

TEST(StartupEntry, SaysWhyItCannotTellWhatExcelOpens) {
  const std::pair<const char*, const char*> cases[] = {
      {"/R \"C:\\Other\\E.xll", "whose path has no closing quote"},
      {"\"C:\\say \"hi\"\\G.xll\"", "which has more after its quoted path"},
      {"/R", "which names no file"},
      {"", "which names no file"},
      {"\"\"", "which names no file"},
  };
  for (const auto& [text, wrong] : cases) EXPECT_EQ(xllhost::ReadStartupEntry(text).wrong, wrong) << text;
}

TEST(StartupEntry, TellsABareFileNameFromAPath) {
  EXPECT_TRUE(xllhost::IsBareFileName("Quorrel.xll"));
  for (const char* path : {"C:\\A.xll", "C:A.xll", "sub/A.xll", "\\\\server\\share\\A.xll"})
    EXPECT_FALSE(xllhost::IsBareFileName(path)) << path;
}

}  // namespace
