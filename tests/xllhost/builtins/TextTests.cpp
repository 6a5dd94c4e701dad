// The text built-ins, as Excel answers them, its errors for wrong
// arguments included.
#include "EngineTest.h"

namespace {

TEST(Text, AnswersAsExcelDoes) {
  const xllhost::Workbook book = BookOf("A1 \"h\xC3\xA9llo\"\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=LEFT(\"abc\",2)", "ab"},   {"=LEFT(\"abc\")", "a"},        {"=LEFT(\"abc\",10)", "abc"},
      {"=LEFT(\"abc\",-1)", "#VALUE!"}, {"=RIGHT(\"abc\",2)", "bc"}, {"=RIGHT(A1,4)", "\xC3\xA9llo"},
      {"=LEFT(A1,2)", "h\xC3\xA9"}, {"=MID(\"abcdef\",3,2)", "cd"},  {"=MID(\"abc\",5,1)", ""},
      {"=MID(\"abc\",0,1)", "#VALUE!"}, {"=LEFT(123,2)", "12"},      {"=VALUE(\"12.5\")", "12.5"},
      {"=VALUE(\" 1e3 \")", "1000"}, {"=VALUE(\"x\")", "#VALUE!"},  {"=VALUE(TRUE)", "#VALUE!"},
      {"=VALUE(B9)", "0"},
      {"=UPPER(\"aBc1\")", "ABC1"}, {"=LOWER(\"aBc\")", "abc"}, {"=UPPER(TRUE)", "TRUE"},
      {"=TRIM(\"  a   b  \")", "a b"}, {"=TRIM(\"   \")", ""}, {"=TRIM(\"a\tb\")", "a\tb"},
      {"=REPT(\"ab\",3)", "ababab"}, {"=REPT(\"ab\",2.9)", "abab"}, {"=REPT(\"ab\",0)", ""},
      {"=REPT(\"ab\",-1)", "#VALUE!"}, {"=REPT(\"ab\",20000)", "#VALUE!"},
      {"=SUBSTITUTE(\"Sales Data\",\"Sales\",\"Cost\")", "Cost Data"},
      {"=SUBSTITUTE(\"Quarter 1, 2008\",\"1\",\"2\",1)", "Quarter 2, 2008"},
      {"=SUBSTITUTE(\"Quarter 1, 2011\",\"1\",\"2\",3)", "Quarter 1, 2012"},
      {"=SUBSTITUTE(\"aaa\",\"a\",\"b\",4)", "aaa"}, {"=SUBSTITUTE(\"abc\",\"\",\"x\")", "abc"},
      {"=SUBSTITUTE(\"abc\",\"b\",\"x\",0)", "#VALUE!"},
      {"=REPLACE(\"abcdefghijk\",6,5,\"*\")", "abcde*k"}, {"=REPLACE(2009,3,2,\"10\")", "2010"},
      {"=REPLACE(A1,2,1,\"e\")", "hello"}, {"=REPLACE(\"abc\",0,1,\"x\")", "#VALUE!"},
      {"=SEARCH(\"e\",\"Statements\",6)", "7"}, {"=SEARCH(\"margin\",\"Profit Margin\")", "8"},
      {"=SEARCH(\"p?o*t\",\"A Profit\")", "3"}, {"=SEARCH(\"~?\",\"why?\")", "4"},
      {"=SEARCH(\"\",\"abc\",2)", "2"},      {"=SEARCH(\"x\",\"abc\")", "#VALUE!"},
      {"=EXACT(\"word\",\"word\")", "TRUE"}, {"=EXACT(\"Word\",\"word\")", "FALSE"},
      {"=CLEAN(CHAR(9)&\"Monthly report\"&CHAR(10))", "Monthly report"},
      {"=PROPER(\"this is a TITLE\")", "This Is A Title"}, {"=PROPER(\"2-way street\")", "2-Way Street"},
      {"=PROPER(\"76BudGet\")", "76Budget"},
      {"=CONCAT({\"x\",\"y\";\"z\",\"w\"})", "xyzw"}, {"=CONCAT(\"a\",1,TRUE,B9)", "a1TRUE"},
      {"=CONCAT(\"a\",1/0)", "#DIV/0!"},
      {"=TEXTJOIN(\", \",TRUE,\"a\",\"\",B9,\"b\")", "a, b"}, {"=TEXTJOIN(\"-\",FALSE,\"a\",B9,\"b\")", "a--b"},
      {"=TEXTJOIN(\"\",TRUE,REPT(\"a\",20000),REPT(\"b\",20000))", "#VALUE!"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

TEST(Text, LeavesTheCaseOfLettersBeyondAsciiUncalculated) {
  const xllhost::Workbook book = BookOf("A1 \"h\xC3\xA9llo\"\n");
  MemoryHost host;
  std::string why;
  EXPECT_EQ(Shown(book, host, "=UPPER(A1)", &why), "#N/A");
  EXPECT_NE(why.find("beyond ASCII"), std::string::npos) << why;
}

}  // namespace
