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

// LOOKUP, XLOOKUP, XMATCH and ADDRESS, with the examples of Microsoft's
// help.
TEST(Lookup, NewerLookupsAnswerAsExcelsExamples) {
  const xllhost::Workbook book = BookOf(
      "A1 4.14\nA2 4.19\nA3 5.17\nA4 5.77\nA5 6.39\nB1 \"red\"\nB2 \"orange\"\nB3 \"yellow\"\nB4 \"green\"\n"
      "B5 \"blue\"\nD1 \"Gi\"\nD2 \"Go\"\nD3 \"Ge\"\nD4 \"Go\"\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=LOOKUP(4.19,A1:A5,B1:B5)", "orange"},  {"=LOOKUP(5.75,A1:A5,B1:B5)", "yellow"},
      {"=LOOKUP(7.66,A1:A5,B1:B5)", "blue"},    {"=LOOKUP(0,A1:A5,B1:B5)", "#N/A"},
      {"=LOOKUP(\"C\",{\"a\",\"b\",\"c\",\"d\";1,2,3,4})", "3"}, {"=LOOKUP(\"bump\",{\"a\",1;\"b\",2;\"c\",3})", "2"},
      {"=XLOOKUP(5.17,A1:A5,B1:B5)", "yellow"}, {"=XLOOKUP(5,A1:A5,B1:B5)", "#N/A"},
      {"=XLOOKUP(5,A1:A5,B1:B5,\"none\")", "none"}, {"=XLOOKUP(5,A1:A5,B1:B5,,-1)", "orange"},
      {"=XLOOKUP(5,A1:A5,B1:B5,,1)", "yellow"}, {"=XLOOKUP(\"g?\",D1:D4,A1:A4,,2)", "4.14"},
      {"=XLOOKUP(\"go\",D1:D4,A1:A4,,0,-1)", "5.77"}, {"=XLOOKUP(1,A1:A5,B1:B4)", "#VALUE!"},
      {"=XMATCH(\"Go\",D1:D4)", "2"},         {"=XMATCH(\"Go\",D1:D4,0,-1)", "4"},
      {"=XMATCH(5,A1:A5,1)", "3"},             {"=XMATCH(5,A1:A5,3)", "#VALUE!"},
      {"=ADDRESS(2,3)", "$C$2"},                {"=ADDRESS(2,3,2)", "C$2"},
      {"=ADDRESS(2,3,2,FALSE)", "R2C[3]"},      {"=ADDRESS(2,3,1,FALSE,\"Book1\")", "Book1!R2C3"},
      {"=ADDRESS(2,3,4)", "C2"},                {"=ADDRESS(0,3)", "#VALUE!"},
      {"=AREAS(B2:D4)", "1"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// What a reference is, and the formula behind it as Excel shows it.
TEST(Lookup, ReferenceInformationAnswersAsExcelDoes) {
  ExpectShown("A1 5\nA2 =_xlfn.CONCAT(\"_xlfn.\",A1) -> \"_xlfn.5\"\nA3 =SUM(A1, 1)\nsheet Two\nA1 1\n", {
      {"=ISREF(A1)", "TRUE"},            {"=ISREF(A1:B2)", "TRUE"},           {"=ISREF(1)", "FALSE"},
      {"=ISREF(#REF!)", "FALSE"},        {"=ISFORMULA(A2)", "TRUE"},          {"=ISFORMULA(A1)", "FALSE"},
      {"=ISFORMULA(C9)", "FALSE"},       {"=ISFORMULA(1)", "#VALUE!"},        {"=FORMULATEXT(A1)", "#N/A"},
      {"=FORMULATEXT(A2)", "=CONCAT(\"_xlfn.\",A1)"}, {"=FORMULATEXT(A3:A4)", "=SUM(A1, 1)"},
      {"=SHEET()", "1"},                 {"=SHEET(Two!A1)", "2"},             {"=SHEET(\"two\")", "2"},
      {"=HYPERLINK(\"https://example.com\",\"Example\")", "Example"}, {"=HYPERLINK(\"x.xlsx\")", "x.xlsx"},
      {"=SHEET(\"Three\")", "#N/A"},    {"=SHEETS()", "2"},                  {"=SHEETS(A1)", "1"},
  });
  const xllhost::Workbook book = BookOf("B1:B2 {={1;2}}\n");
  MemoryHost host;
  std::string why;
  EXPECT_EQ(Shown(book, host, "=FORMULATEXT(B2)", &why), "#N/A");
  EXPECT_EQ(why, "FORMULATEXT of an array formula");
}

// The dynamic array functions, each array seen whole through TEXTJOIN, or
// its size and one element through ROWS, COLUMNS and INDEX.
TEST(Lookup, DynamicArraysAnswerAsExcelDoes) {
  ExpectShown("A1 \"b\"\nA2 \"a\"\nA3 \"c\"\nA4 \"A\"\nB1 2\nB2 1\nB3 3\nB4 1\nD1:D2 {=SEQUENCE(2)}\n", {
      {"=TEXTJOIN(\",\",,SEQUENCE(2,3))", "1,2,3,4,5,6"},  {"=TEXTJOIN(\",\",,SEQUENCE(3,1,10,-2))", "10,8,6"},
      {"=TEXTJOIN(\",\",,SORT(A1:B4))", "a,1,A,1,b,2,c,3"}, {"=TEXTJOIN(\",\",,SORT(A1:B4,2,-1))", "c,3,b,2,a,1,A,1"},
      {"=TEXTJOIN(\",\",,SORT({3,1,2},1,1,TRUE))", "1,2,3"}, {"=SORT(A1:B4,3)", "#VALUE!"},
      {"=TEXTJOIN(\",\",,SORTBY(A1:A4,B1:B4,-1,A1:A4,1))", "c,b,a,A"}, {"=TEXTJOIN(\",\",,SORTBY({1,2,3},{3,1,2}))", "2,3,1"},
      {"=SORTBY(A1:A4,B1:B3)", "#VALUE!"},                  {"=SORTBY(A1:A4,B1:B4,2)", "#VALUE!"},
      {"=TEXTJOIN(\",\",,UNIQUE(A1:A4))", "b,a,c"},        {"=TEXTJOIN(\",\",,UNIQUE(A1:A4,,TRUE))", "b,c"},
      {"=ROWS(UNIQUE(A1:B4))", "3"},                        {"=TEXTJOIN(\",\",,FILTER(A1:A4,{1;0;1;0}))", "b,c"},
      {"=FILTER(A1:A4,{0;0;0;0},\"none\")", "none"},        {"=FILTER(A1:A4,{1,0})", "#VALUE!"},
      {"=TEXTJOIN(\",\",,TAKE(A1:B4,2))", "b,2,a,1"},      {"=TAKE(A1:B4,-1,1)", "A"},
      {"=TEXTJOIN(\",\",,DROP(A1:B4,3))", "A,1"},          {"=TEXTJOIN(\",\",,DROP(A1:B4,,-1))", "b,a,c,A"},
      {"=INDEX(VSTACK({1,2},{3}),2,2)", "#N/A"},            {"=ROWS(VSTACK({1,2},{3}))", "2"},
      {"=INDEX(HSTACK({1;2},3),2,2)", "#N/A"},              {"=COLUMNS(HSTACK({1;2},3))", "2"},
      {"=TEXTJOIN(\",\",,CHOOSECOLS(A1:B4,-1))", "2,1,3,1"}, {"=TEXTJOIN(\",\",,CHOOSEROWS(A1:B4,1,-1))", "b,2,A,1"},
      {"=CHOOSEROWS(A1:B4,5)", "#VALUE!"},                  {"=TEXTJOIN(\",\",,TOCOL(A1:B2))", "b,2,a,1"},
      {"=TEXTJOIN(\",\",,TOROW(A1:B2,,TRUE))", "b,a,2,1"},  {"=ROWS(ANCHORARRAY(D1))", "2"},
      {"=ANCHORARRAY(D2)", "#REF!"},                        {"=ANCHORARRAY(A1)", "#REF!"},
  });
  const xllhost::Workbook book = BookOf("A1 #N/A\n");
  MemoryHost host;
  for (const char* text : {"=SEQUENCE(0)", "=TAKE({1,2},0)", "=TOCOL(C1:C2,1)", "=SORT(A1:A2)"}) {
    std::string why;
    EXPECT_EQ(Shown(book, host, text, &why), "#N/A") << text;
    EXPECT_FALSE(why.empty()) << text << ": left not calculated";
  }
}

}  // namespace
