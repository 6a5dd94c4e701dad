// The text built-ins, as Excel answers them, its errors for wrong
// arguments included.
#include "EngineTest.h"

namespace {

TEST(Text, AnswersAsExcelDoes) {
  const xllhost::Workbook book = BookOf("A1 \"h\xC3\xA9llo\"\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=LENB(\"abc\")", "3"}, {"=LEFTB(\"abc\",2)", "ab"}, {"=MIDB(\"abc\",2,1)", "b"}, {"=FINDB(\"c\",\"abc\")", "3"},
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

// TEXT in number, date and text formats, with the examples of Microsoft's
// help; what it rounds, it rounds on the 15 digits Excel shows.
TEST(Text, WritesNumbersInExcelsFormats) {
  const xllhost::Workbook book;
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=TEXT(1234.567,\"$#,##0.00\")", "$1,234.57"}, {"=TEXT(0.285,\"0.0%\")", "28.5%"},
      {"=TEXT(1234.567,\"0.00E+00\")", "1.23E+03"},   {"=TEXT(0.000123,\"0.00E+00\")", "1.23E-04"},
      {"=TEXT(9.999,\"0.00E+00\")", "1.00E+01"},     {"=TEXT(1234,\"0000000\")", "0001234"},
      {"=TEXT(2.675,\"0.00\")", "2.68"},             {"=TEXT(-5,\"0\")", "-5"},
      {"=TEXT(-5,\"0;(0)\")", "(5)"},                {"=TEXT(0,\"0;-0;\"\"zero\"\"\")", "zero"},
      {"=TEXT(0.5,\"#.00\")", ".50"},                {"=TEXT(5,\"0.#\")", "5."},
      {"=TEXT(12345678,\"#,##0,\")", "12,346"},       {"=TEXT(12345678,\"0.0,,\")", "12.3"},
      {"=TEXT(1234.5,\"#,##0\")", "1,235"},          {"=TEXT(0,\"#\")", ""},
      {"=TEXT(42,\"General\")", "42"},               {"=TEXT(\"12\",\"0.00\")", "12.00"},
      {"=TEXT(DATE(2012,3,14),\"MM/DD/YY\")", "03/14/12"}, {"=TEXT(DATE(2012,3,14),\"dddd\")", "Wednesday"},
      {"=TEXT(DATE(2012,3,14),\"mmmm d, yyyy\")", "March 14, 2012"}, {"=TEXT(DATE(2012,3,14),\"ddd mmm\")", "Wed Mar"},
      {"=TEXT(DATE(2012,3,14),\"dd.mm.yyyy\")", "14.03.2012"},
      {"=TEXT(TIME(13,29,0),\"H:MM AM/PM\")", "1:29 PM"}, {"=TEXT(0.5,\"hh:mm:ss\")", "12:00:00"},
      {"=TEXT(\"abc\",\"@\")", "abc"},               {"=TEXT(\"abc\",\"0.00\")", "abc"},
      {"=TEXT(\"abc\",\"0;0;0;\"\"x\"\"@\")", "xabc"}, {"=TEXT(TRUE,\"0\")", "TRUE"},
      {"=TEXT(1/0,\"0\")", "#DIV/0!"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// FIXED, DOLLAR and NUMBERVALUE with the examples of Microsoft's help;
// UNICODE and UNICHAR by code points beyond ASCII too.
TEST(Text, WritesAndReadsNumbersAndCodePoints) {
  ExpectShown("", {
      {"=FIXED(1234.567,1)", "1,234.6"},       {"=FIXED(1234.567,-1)", "1,230"},
      {"=FIXED(-1234.567,-1,TRUE)", "-1230"},  {"=FIXED(44.332)", "44.33"},
      {"=FIXED(1,128)", "#VALUE!"},            {"=DOLLAR(1234.567,2)", "$1,234.57"},
      {"=DOLLAR(1234.567,-2)", "$1,200"},      {"=DOLLAR(-1234.567,-2)", "($1,200)"},
      {"=DOLLAR(-0.123,4)", "($0.1230)"},      {"=DOLLAR(99.888)", "$99.89"},
      {"=NUMBERVALUE(\"2.500,27\",\",\",\".\")", "2500.27"}, {"=NUMBERVALUE(\"3.5%\")", "0.035"},
      {"=NUMBERVALUE(\"9%%\")", "0.0009"},    {"=NUMBERVALUE(\" 1,000 .5\")", "1000.5"},
      {"=NUMBERVALUE(\"\")", "0"},             {"=NUMBERVALUE(\"1.2.3\")", "#VALUE!"},
      {"=NUMBERVALUE(\"1.000,5\")", "#VALUE!"}, {"=NUMBERVALUE(\"5%1\")", "#VALUE!"},
      {"=UNICODE(\"B\")", "66"},               {"=UNICODE(\"\xC3\xA9t\xC3\xA9\")", "233"},
      {"=UNICODE(\"\xF0\x9F\x98\x80\")", "128512"}, {"=UNICODE(\"\")", "#VALUE!"},
      {"=UNICHAR(66)", "B"},                    {"=UNICHAR(233)", "\xC3\xA9"},
      {"=UNICHAR(128512)", "\xF0\x9F\x98\x80"}, {"=UNICHAR(0)", "#VALUE!"},
      {"=UNICHAR(55296)", "#N/A"},              {"=UNICHAR(1114112)", "#VALUE!"},
  });
}

// TEXTBEFORE and TEXTAFTER on the text of Microsoft's examples: with case
// by default, without it on request, from the end, with the text's end as
// an instance, and what is not found.
TEST(Text, CutsAroundDelimitersAsExcelDoes) {
  ExpectShown("A1 \"Little Red Riding Hood's red hood\"\n", {
      {"=TEXTBEFORE(A1,\"Red\")", "Little "},           {"=TEXTBEFORE(A1,\"red\")", "Little Red Riding Hood's "},
      {"=TEXTBEFORE(A1,\"red\",2)", "#N/A"},            {"=TEXTBEFORE(A1,\"red\",-2,1)", "Little "},
      {"=TEXTBEFORE(A1,\"hood\",1,1)", "Little Red Riding "}, {"=TEXTAFTER(A1,\"Hood\")", "'s red hood"},
      {"=TEXTAFTER(A1,\"hood\")", ""},                  {"=TEXTAFTER(A1,\"basket\",1,0,0,\"Not found\")", "Not found"},
      {"=TEXTAFTER(A1,\"red\",2,0,1)", ""},             {"=TEXTBEFORE(A1,\"red\",2,0,1)", "Little Red Riding Hood's red hood"},
      {"=TEXTBEFORE(A1,\"\")", ""},                     {"=TEXTAFTER(A1,\"\")", "Little Red Riding Hood's red hood"},
      {"=TEXTBEFORE(A1,\"red\",0)", "#VALUE!"},         {"=TEXTBEFORE(A1,\"x\",100)", "#VALUE!"},
      {"=TEXTAFTER(A1,\" \",-1)", "hood"},
  });
}

// TEXTSPLIT on Microsoft's examples, each array seen whole through
// TEXTJOIN (its empty and padding cells too) or its size through ROWS and COLUMNS.
TEST(Text, SplitsIntoRowsAndColumnsAsExcelDoes) {
  ExpectShown("A1 \"Do. Or do not. There is no try. -Anonymous\"\n", {
      {"=TEXTJOIN(\"|\",FALSE,TEXTSPLIT(\"Dakota Lennon Sanchez\",\" \"))", "Dakota|Lennon|Sanchez"},
      {"=TEXTJOIN(\"|\",FALSE,TEXTSPLIT(A1,\".\"))", "Do| Or do not| There is no try| -Anonymous"},
      {"=TEXTJOIN(\"|\",FALSE,TEXTSPLIT(A1,\" \",\".\",TRUE,,\"-\"))",
       "Do|-|-|-|Or|do|not|-|There|is|no|try|-Anonymous|-|-|-"},
      {"=ROWS(TEXTSPLIT(\"1,2,3;4,5,6\",\",\",\";\"))", "2"}, {"=INDEX(TEXTSPLIT(\"1,2;3\",\",\",\";\"),2,2)", "#N/A"},
      {"=TEXTJOIN(\"|\",FALSE,TEXTSPLIT(\"aXbxc\",\"x\",,,1))", "a|b|c"},
      {"=COLUMNS(TEXTSPLIT(\"a--b\",{\"-\",\"--\"}))", "2"}, {"=COLUMNS(TEXTSPLIT(\"a,,b\",\",\"))", "3"},
      {"=TEXTSPLIT(\"a\",\"\")", "#VALUE!"},                {"=TEXTSPLIT(\"a\",\",\",,,2)", "#VALUE!"},
  });
}

}  // namespace
