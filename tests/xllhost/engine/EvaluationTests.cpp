// Formulas evaluated where they stand: what each shows, what cannot be
// calculated, and how an add-in's function is called through the host.
#include <gtest/gtest.h>

#include "EngineTest.h"

namespace {

// A workbook of a few cells on three sheets and three names, and a host.
class Formulas : public ::testing::Test {
 protected:
  std::string Shown(const std::string& text, std::string* why = nullptr) { return ::Shown(book, host, text, why); }

  xllhost::Workbook book =
      BookOf("A1 2\nB1 3\nA2 \"x\"\nname Rate =Sheet1!$B$1\nsheet Sheet 2\nA1 10\nname 'Sheet 2'!Local =$A$1\n"
             "'Bob''s'!B2 7\nname 'Bob''s'!Mine ='Bob''s'!$B$2\n");
  MemoryHost host;
};

TEST_F(Formulas, ShowWhatExcelShows) {
  const std::pair<const char*, const char*> cases[] = {
      {"=1.5", "1.5"}, {"=-2.5e3", "-2500"}, {"=\"a \"\"b\"\"\"", "a \"b\""}, {"=true", "TRUE"}, {"=#n/a", "#N/A"},
      {"={1,2;3,4}", "1"}, {"=-2^2", "4"}, {"=2^3^2", "64"}, {"=1+2*3", "7"}, {"=(1+2)*3", "9"}, {"=50%", "0.5"},
      {"=1/0", "#DIV/0!"}, {"=\"a\"&1&TRUE", "a1TRUE"}, {"=1<2", "TRUE"}, {"=\"b\">\"A\"", "TRUE"},
      {"=2=\"2\"", "FALSE"}, {"=A1+B1", "5"}, {"=$A$1*B$1", "6"}, {"=SUM(A1:B2)", "5"}, {"=A1+A2", "#VALUE!"},
      {"=C9", "0"}, {"='Sheet 2'!A1*2", "20"}, {"=Rate", "3"}, {"=_xlfn.IFERROR(1/0,\"none\")", "none"},
      {"=IF(A1>1,\"big\",1/0)", "big"}, {"=ROUND(2.345,2)", "2.35"}, {"=ROUND(-2.5,0)", "-3"}, {"=MOD(-3,2)", "1"},
      {"=INDEX({1,2;3,4},2,1)", "3"}, {"=ROWS(A1:B3)", "3"}, {"=COLUMNS(A:C)", "3"}, {"=FIND(\"b\",\"abc\")", "2"},
      {"=LEN(\"h\xC3\xA9llo\")", "5"}, {"=CONCATENATE(\"a\",1)", "a1"}, {"=AND(TRUE,A1>1)", "TRUE"},
      {"=MAX(A1:B1,-1)", "3"}, {"=AVERAGE(A1:B1)", "2.5"}, {"=TRANSPOSE({1,2})", "1"}, {"=LOG(100)", "2"},
      {"=SQRT(-1)", "#NUM!"}, {"=PRODUCT(A1:B1,2)", "12"}, {"=NOT(ISERROR(NA()))", "FALSE"}, {"=CODE(CHAR(65))", "65"},
      {"='Bob''s'!B2+'Bob''s'!Mine", "14"},
  };
  for (const auto& [text, shown] : cases) {
    std::string why;
    EXPECT_EQ(Shown(text, &why), shown) << text << " " << why;
  }
}

TEST_F(Formulas, LetNamesEachValueForWhatFollowsIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"=LET(x,2,y,x*3,x+y)", "8"}, {"=_xlfn.LET(_xlpm.r,A1:B1,SUM(_xlpm.r))", "5"}, {"=LET(Rate,10,Rate+1)", "11"},
      {"=LET(x,1,LET(x,2,x)+x)", "3"}, {"=LET(x,1,x)&LET(y,2,x)", "#NAME?"}, {"=LET(r,A1:A2,ROWS(r))", "2"},
  };
  for (const auto& [text, shown] : cases) {
    std::string why;
    EXPECT_EQ(Shown(text, &why), shown) << text << " " << why;
  }
  std::string why;
  EXPECT_EQ(Shown("=LET(x,1)", &why), "#N/A");
  EXPECT_EQ(why, "LET takes names and their values in pairs, then a calculation");
  EXPECT_EQ(Shown("=LET(A1,1,2)", &why), "#N/A");
  EXPECT_EQ(why, "LET names a value with something other than a name");
}

TEST_F(Formulas, LeaveUncalculatedWhatNeedsAFunctionXllhostLacks) {
  std::string why;
  EXPECT_EQ(Shown("=1+RTD(\"srv\",\"\",A2)", &why), "#N/A");
  EXPECT_EQ(why, "needs RTD");
  EXPECT_EQ(Shown("=Nobody(1)", &why), "#NAME?") << "typed, an unknown name";
}

TEST_F(Formulas, PassAnAddInsArgumentsAsItsTypeTextAsks) {
  std::vector<xllhost::Value> given;
  host.Register("SEEN", "QRRPB", [&](const std::vector<xllhost::Value>& args) {
    given = args;
    return xllhost::NumberValue(1);
  });
  EXPECT_EQ(Shown("=Seen(A1:B1,'Sheet 2'!A1,A1:B1,A1:B1)"), "1");
  ASSERT_EQ(given.size(), 4u);
  EXPECT_TRUE(given[0].Is(xltypeSRef)) << "R: a reference on the formula's own sheet";
  EXPECT_TRUE(given[1].Is(xltypeRef) && given[1].sheetId == xllhost::Workbook::SheetId(1)) << "R: another sheet's, by id";
  EXPECT_TRUE(given[2].Is(xltypeMulti) && given[2].columns == 2) << "P: the rectangle's values";
  EXPECT_EQ(Display(given[3]), "2") << "B: the cell in the formula's row";
  EXPECT_EQ(host.cells, std::vector<std::string>{"=Seen(A1:B1,'Sheet 2'!A1,A1:B1,A1:B1)"});
}

TEST_F(Formulas, ReadAReferenceAnAddInAnswers) {
  host.Register("THERE", "Q", [](const std::vector<xllhost::Value>&) {
    return xllhost::AreaReference(0, 0, 1, 1, xllhost::Workbook::SheetId(0));
  });
  host.Register("NOWHERE", "Q", [](const std::vector<xllhost::Value>&) {
    return xllhost::AreaReference(0, 0, 1, 1, 99);
  });
  EXPECT_EQ(Shown("=There()*2"), "6");
  EXPECT_EQ(Shown("=Nowhere()"), "#REF!") << "a sheet id no sheet has";
}

TEST_F(Formulas, ShowWhatTheAddInsNamesAre) {
  host.Define("LIMIT", xllhost::NumberValue(7));
  host.Retire("GONE");
  EXPECT_EQ(Shown("=Limit+1"), "8");
  EXPECT_EQ(Shown("=Gone()"), "#NAME?") << "registered, then taken back";
  EXPECT_EQ(Shown("=_xll.Never()"), "#NAME?") << "saved as an add-in's, registered by none";
  EXPECT_EQ(Shown("=Limit(1)"), "#VALUE!") << "a value called with arguments";
}

}  // namespace
