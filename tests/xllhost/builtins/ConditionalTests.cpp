// IF and its kin calculate only the arguments they answer: an add-in's
// function in a branch not taken is never called.
#include "EngineTest.h"

namespace {

TEST(Conditionals, AnswerAsExcelsExamples) {
  const xllhost::Workbook book = BookOf("A1 89\nA2 \"b\"\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=IFS(A1>89,\"A\",A1>79,\"B\",A1>69,\"C\")", "B"}, {"=IFS(A1>100,1)", "#N/A"},
      {"=IFS(1/0,1,TRUE,2)", "#DIV/0!"},                  {"=IFS(FALSE,1,TRUE,)", "0"},
      {"=SWITCH(A2,\"a\",1,\"B\",2)", "2"},                {"=SWITCH(3,1,\"one\",2,\"two\",\"other\")", "other"},
      {"=SWITCH(3,1,\"one\",2,\"two\")", "#N/A"},          {"=SWITCH(1/0,1,2)", "#DIV/0!"},
      {"=SWITCH(WEEKDAY(45351),1,\"Sunday\",5,\"Thursday\")", "Thursday"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

TEST(Conditionals, CallNoAddInInABranchNotTaken) {
  const xllhost::Workbook book;
  MemoryHost host;
  host.Register("PROBE", "BB", [](const std::vector<xllhost::Value>& args) { return args[0]; });
  const std::pair<const char*, const char*> cases[] = {
      {"=IF(TRUE,1,PROBE(2))", "1"},           {"=IFERROR(1,PROBE(2))", "1"},
      {"=IFNA(1,PROBE(2))", "1"},              {"=CHOOSE(1,1,PROBE(2))", "1"},
      {"=IFS(FALSE,PROBE(1),TRUE,2,PROBE(3),4)", "2"},
      {"=SWITCH(2,1,PROBE(1),2,\"two\",PROBE(9))", "two"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
  EXPECT_TRUE(host.cells.empty()) << host.cells.size() << " calls, the first in " << host.cells.front();
  EXPECT_EQ(Shown(book, host, "=IFS(FALSE,1,TRUE,PROBE(7))"), "7") << "the branch taken is called";
}

}  // namespace
