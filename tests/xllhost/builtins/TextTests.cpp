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
