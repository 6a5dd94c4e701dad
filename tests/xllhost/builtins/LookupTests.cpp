// The lookup and reference built-ins on a small table, as Excel answers
// them, its errors for wrong arguments included.
#include "EngineTest.h"

namespace {

TEST(Lookup, AnswersAsExcelDoes) {
  // A2:C5 a table keyed by its first column (sorted ascending); E1:H3 one
  // keyed by its first row.
  const xllhost::Workbook book = BookOf(
      "A2 1\nB2 \"one\"\nC2 10\nA3 2\nB3 \"two\"\nC3 20\nA4 4\nB4 \"four\"\nC4 40\nA5 \"x\"\nB5 \"ex\"\n"
      "E1 \"Apple\"\nF1 \"Banana\"\nG1 \"Cherry\"\nE2 1\nF2 2\nG2 3\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=VLOOKUP(2,A2:C5,2,FALSE)", "two"},     {"=VLOOKUP(3,A2:C5,3,FALSE)", "#N/A"},
      {"=VLOOKUP(3,A2:C5,3)", "20"},            {"=VLOOKUP(3,A2:C5,3,TRUE)", "20"},
      {"=VLOOKUP(9,A2:C5,2)", "four"},          {"=VLOOKUP(0,A2:C5,2)", "#N/A"},
      {"=VLOOKUP(\"X\",A2:C5,2,FALSE)", "ex"},  {"=VLOOKUP(\"1\",A2:C5,2,FALSE)", "#N/A"},
      {"=VLOOKUP(4,A2:C5,2,)", "four"},         {"=VLOOKUP(2,A2:C5,0)", "#VALUE!"},
      {"=VLOOKUP(2,A2:C5,4)", "#REF!"},         {"=VLOOKUP(1/0,A2:C5,2)", "#DIV/0!"},
      {"=VLOOKUP(2,A2:C5,\"a\")", "#VALUE!"},   {"=VLOOKUP(2,{1,\"a\";2,\"b\"},2,FALSE)", "b"},
      {"=HLOOKUP(\"b*\",E1:G2,2,FALSE)", "2"},  {"=HLOOKUP(\"?herry\",E1:G2,2,FALSE)", "3"},
      {"=HLOOKUP(\"Blueberry\",E1:G2,2)", "2"}, {"=HLOOKUP(\"Apple\",E1:G2,3,FALSE)", "#REF!"},
      {"=HLOOKUP(\"Aa\",E1:G2,2)", "#N/A"},     {"=HLOOKUP(\"~*\",E1:G2,2,FALSE)", "#N/A"},
      {"=MATCH(4,A2:A5,0)", "3"},               {"=MATCH(3,A2:A5)", "2"},
      {"=MATCH(3,{5,4,2,1},-1)", "2"},          {"=MATCH(\"c*\",E1:G1,0)", "3"},
      {"=MATCH(0,A2:A5)", "#N/A"},              {"=MATCH(1,A2:C5,0)", "#N/A"},
      {"=ROW(C4:D9)", "4"},                     {"=COLUMN(C4)", "3"},
      {"=ROW()", "1"},                          {"=COLUMN({1,2})", "#VALUE!"},
      {"=SUM(OFFSET(A2,1,2,2,1))", "60"},       {"=OFFSET(A2,0,1)", "one"},
      {"=OFFSET(A2,-5,0)", "#REF!"},            {"=OFFSET(1,0,0)", "#VALUE!"},
      {"=OFFSET(A2,0,0,0)", "#REF!"},           {"=INDIRECT(\"B3\")", "two"},
      {"=SUM(INDIRECT(\"C2:C4\"))", "70"},     {"=INDIRECT(\"no such\")", "#REF!"},
  };
  for (const auto& [text, shown] : cases) {
    std::string why;
    EXPECT_EQ(Shown(book, host, text, &why), shown) << text << " " << why;
  }
}

// Microsoft's examples of CHOOSE, and a chosen reference read as one; only
// the value chosen is calculated, so another's error does not show.
TEST(Lookup, ChooseAnswersTheValueOrReferenceItsIndexPicks) {
  const xllhost::Workbook book = BookOf(
      "A2 \"1st\"\nA3 \"2nd\"\nA4 \"3rd\"\nA5 \"Finished\"\nB2 \"Nails\"\nB3 \"Screws\"\nB4 \"Nuts\"\nB5 \"Bolts\"\n"
      "C2 23\nC3 45\nC4 12\nC5 10\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=CHOOSE(2,A2,A3,A4,A5)", "2nd"},     {"=CHOOSE(4,B2,B3,B4,B5)", "Bolts"},
      {"=CHOOSE(3,\"Wide\",115,\"world\",8)", "world"}, {"=SUM(CHOOSE(2,C2:C3,C4:C5))", "22"},
      {"=CHOOSE(1.9,\"a\",1/0)", "a"},      {"=CHOOSE(0,\"a\")", "#VALUE!"},
      {"=CHOOSE(3,\"a\",\"b\")", "#VALUE!"}, {"=CHOOSE(\"x\",\"a\")", "#VALUE!"},
      {"=CHOOSE(2,\"a\",)", "0"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

}  // namespace
