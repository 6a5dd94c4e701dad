// The command line read: what each option asks for, and the one line that
// says what is wrong with a line that cannot be used.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

std::string Read(std::vector<std::string> words, xllhost::CommandLine& line) {
  words.insert(words.begin(), "xllhost");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  return xllhost::ReadCommandLine(static_cast<int>(argv.size()), argv.data(), line);
}

TEST(CommandLine, SaysWhatIsWrongWithALineThatCannotBeUsed) {
  const struct {
    std::vector<std::string> words;
    const char* wrong;
  } cases[] = {
      {{}, "no add-in given"},
      {{"a.xll", "b.xll"}, "one add-in at a time: a.xll and b.xll"},
      {{"--bogus", "a.xll"}, "no option --bogus"},
      {{"a.xll", "--formula"}, "--formula needs a value"},
      {{"--expect", "=F()"}, "--expect needs a formula and what it must show"},
      {{"--expect", "=F()", "a.xll"}, "--expect =F() needs what the cell must show"},
      {{"--from-registry", "a.xll"}, "--from-registry reads the add-ins from the registry: give no file"},
      {{"--threads", "0", "a.xll"}, "--threads takes a number of threads from 1 to 1024, not 0"},
      {{"--threads", "2x", "a.xll"}, "--threads takes a number of threads from 1 to 1024, not 2x"},
      {{"--tolerance", "1", "a.xll"}, "--tolerance takes a relative difference from 0 to 1"},
      {{"--timeout", "0", "a.xll"}, "--timeout takes seconds from 0 to 86400"},
      {{"--dialog-answer", "Maybe", "a.xll"}, "--dialog-answer takes a button"},
      {{"", "--formula", "=F()"}, "the add-in's path is empty"},
  };
  for (const auto& c : cases) {
    xllhost::CommandLine line;
    const std::string wrong = Read(c.words, line);
    EXPECT_EQ(wrong.rfind(c.wrong, 0), 0u) << "said: " << wrong;
  }
}

TEST(CommandLine, KeepsEachFormulaOnceAndWhatEachOptionAsks) {
  xllhost::CommandLine line;
  ASSERT_EQ(Read({"--formula", "=F()", "--expect", "=F()", "3", "--expect", "=G()", "x", "--threads", "4",
                  "--tolerance", "1e-9", "--timeout", "5", "--scenario", "startup", "a.xll"},
                 line),
            "");
  EXPECT_EQ(line.options.formulas, (std::vector<std::string>{"=F()", "=G()"}));
  ASSERT_EQ(line.options.expectations.size(), 2u);
  EXPECT_EQ(line.options.expectations[0].second, "3");
  EXPECT_EQ(line.options.threads, 4);
  EXPECT_EQ(line.options.tolerance, 1e-9);
  EXPECT_EQ(line.timeout, 5);
  EXPECT_EQ(line.scenarioName, "startup");
  EXPECT_TRUE(line.scenarioGiven);
  EXPECT_EQ(line.path, "a.xll");
}

}  // namespace
