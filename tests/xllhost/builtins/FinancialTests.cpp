// The annuity built-ins, with the examples of Microsoft's help for each and
// the errors of their domains.
#include "EngineTest.h"

namespace {

TEST(Financial, AnswersAsExcelsExamples) {
  const xllhost::Workbook book = BookOf("A1 0.08\nA2 12\n");
  MemoryHost host;
  // Rounded as the help shows them: the last of fifteen digits of such a
  // power is the C library's.
  const std::pair<const char*, const char*> cases[] = {
      {"=ROUND(PV(0.08/12,12*20,500,,0),2)", "-59777.15"},
      {"=PV(0,10,100)", "-1000"},
      {"=ROUND(FV(0.06/12,10,-200,-500,1),2)", "2581.4"},
      {"=ROUND(FV(0.12/12,12,-1000),2)", "12682.5"},
      {"=ROUND(FV(0.11/12,35,-2000,,1),2)", "82846.25"},
      {"=ROUND(PMT(A1/A2,10,10000),2)", "-1037.03"},
      {"=ROUND(PMT(0.08/12,10,10000,0,1),2)", "-1030.16"},
      {"=ROUND(PMT(0.06/12,18*12,0,50000),2)", "-129.08"},
      {"=PMT(0.1,0,100)", "#NUM!"},
      {"=ROUND(NPER(0.12/12,-100,-1000,10000,1),7)", "59.6738657"},
      {"=ROUND(NPER(0.12/12,-100,-1000,10000),7)", "60.0821229"},
      {"=ROUND(NPER(0.12/12,-100,-1000),8)", "-9.57859404"},
      {"=NPER(0.1,-50,1000)", "#NUM!"},  // less than the interest: never paid off
      {"=NPER(0,0,100)", "#NUM!"},
      {"=PV(\"x\",1,1)", "#VALUE!"},
      {"=SUM(FV({0,0.1},1,-100))", "200"},
      {"=ROUND(NPV(0.1,-10000,3000,4200,6800),2)", "1188.44"},
      {"=ROUND(NPV(0.08,A1:A2,-9000),2)", "-7134.13"},
      {"=NPV(-1,1)", "#DIV/0!"},
      {"=SLN(30000,7500,10)", "2250"},      {"=SLN(1,0,0)", "#DIV/0!"},
      {"=ROUND(SYD(30000,7500,10,1),6)", "4090.909091"}, {"=ROUND(SYD(30000,7500,10,10),7)", "409.0909091"},
      {"=SYD(1,0,10,11)", "#NUM!"},
  };

  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
  std::string why;
  Shown(book, host, "=PV(0.1,1,1,0,2)", &why);
  EXPECT_EQ(why, "a payment type other than 0 and 1") << "a type the help does not name is not calculated";
}

}  // namespace
