// The statistical built-ins, with the examples of Microsoft's help for each
// and the errors of too few numbers.
#include "EngineTest.h"

namespace {

TEST(Statistics, AnswerAsExcelsExamples) {
  // A1:A10 the help's breaking strengths; B1:B7 its other sample, with a
  // text and an empty cell below, which the functions pass over.
  const xllhost::Workbook book = BookOf(
      "A1 1345\nA2 1301\nA3 1368\nA4 1322\nA5 1310\nA6 1370\nA7 1318\nA8 1350\nA9 1303\nA10 1299\n"
      "B1 4\nB2 5\nB3 8\nB4 7\nB5 11\nB6 4\nB7 3\nB8 \"x\"\nC1 #N/A\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=ROUND(STDEV(A1:A10),8)", "27.46391572"}, {"=ROUND(STDEVP(A1:A10),8)", "26.05455814"},
      {"=ROUND(VAR(A1:A10),7)", "754.2666667"},   {"=VARP(A1:A10)", "678.84"},
      {"=DEVSQ(B1:B9)", "48"},                    {"=ROUND(AVEDEV(4,5,6,7,5,4,3),9)", "1.020408163"},
      {"=ROUND(GEOMEAN(B1:B9),8)", "5.47698697"}, {"=ROUND(HARMEAN(B1:B9),9)", "5.028375962"},
      {"=SUMSQ(3,4)", "25"},                      {"=SUMSQ(B8:B9)", "0"},
      {"=MEDIAN(1,2,3,4,5)", "3"},                {"=MEDIAN(1,2,3,4,5,6)", "3.5"},
      {"=MODE(5.6,4,4,3,2,4)", "4"},              {"=MODE(1,2,2,1)", "1"},  // the first of two as often
      {"=MODE(1,2,3)", "#N/A"},
      {"=LARGE({3,5,3,5,4;4,2,4,6,7},3)", "5"},   {"=LARGE({3,5,3,5,4;4,2,4,6,7},7)", "4"},
      {"=SMALL({3,4,5,2,3,4,5,6,4,7},4)", "4"},   {"=SMALL(B1:B9,0)", "#NUM!"}, {"=SMALL(B1:B9,8)", "#NUM!"},
      {"=STDEV(5)", "#DIV/0!"},                   {"=VARP(B8)", "#DIV/0!"},  {"=MEDIAN(B8:B9)", "#NUM!"},
      {"=GEOMEAN(1,0)", "#NUM!"},                 {"=STDEV(B1,C1)", "#N/A"}, {"=VAR(1,\"x\")", "#VALUE!"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

}  // namespace
