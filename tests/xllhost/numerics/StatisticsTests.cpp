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

// Order, moments and pairs, with the examples of Microsoft's help.
TEST(Statistics, OrderMomentsAndPairsAnswerAsExcelsExamples) {
  const xllhost::Workbook book = BookOf("A1 7\nA2 3.5\nA3 3.5\nA4 1\nA5 2\nB2 \"\"\nB4 0\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=ROUND(SKEW(3,4,5,2,3,4,5,6,4,7),6)", "0.359543"}, {"=ROUND(SKEW.P(3,4,5,2,3,4,5,6,4,7),6)", "0.303193"},
      {"=ROUND(KURT(3,4,5,2,3,4,5,6,4,7),9)", "-0.151799637"}, {"=KURT(1,2,3)", "#DIV/0!"},
      {"=ROUND(TRIMMEAN({4,5,6,7,2,3,4,5,1,2,3},0.2),9)", "3.777777778"},
      {"=PERCENTRANK.INC({13,12,11,8,4,3,2,1,1,1},2)", "0.333"}, {"=PERCENTRANK.INC({13,12,11,8,4,3,2,1,1,1},4)", "0.555"},
      {"=PERCENTRANK.INC({13,12,11,8,4,3,2,1,1,1},8)", "0.666"}, {"=PERCENTRANK.INC({13,12,11,8,4,3,2,1,1,1},5)", "0.583"},
      {"=PERCENTRANK({1,2,3,4,5,6,7,8,9,10,11},8,1)", "0.7"},    {"=PERCENTRANK({1,2,3},4)", "#N/A"},
      {"=PERCENTRANK({1,2,3},2,0)", "#NUM!"},
      {"=TEXTJOIN(\",\",,FREQUENCY({79,85,78,85,50,81,95,88,97},{70,79,89}))", "1,2,4,2"},
      {"=TEXTJOIN(\",\",,FREQUENCY({1,5,9},{6,2}))", "1,1,1"},
      {"=PROB({0,1,2,3},{0.2,0.3,0.1,0.4},2)", "0.1"}, {"=PROB({0,1,2,3},{0.2,0.3,0.1,0.4},1,3)", "0.8"},
      {"=PROB({0,1},{0.2,0.3},1)", "#NUM!"},          {"=PROB({0,1},{1},1)", "#N/A"},
      {"=PERCENTILE({1,3,2,4},0.3)", "1.9"},     {"=PERCENTILE.EXC({1,2,3,6,6,6,7,8,9},0.25)", "2.5"},
      {"=PERCENTILE.EXC({1,2,3,6,6,6,7,8,9},0.01)", "#NUM!"}, {"=PERCENTILE.INC({1,2},1.5)", "#NUM!"},
      {"=QUARTILE({1,2,4,7,8,9,10,12},1)", "3.5"}, {"=QUARTILE.EXC({6,7,15,36,39,40,41,42,43,47,49},3)", "43"},
      {"=RANK(A3,A1:A5,1)", "3"},                {"=RANK(A1,A1:A5,1)", "5"},       {"=RANK.EQ(A2,A1:A5)", "2"},
      {"=RANK.AVG(A2,A1:A5)", "2.5"},            {"=RANK(8,A1:A5)", "#N/A"},
      {"=ROUND(CORREL({3,2,4,5,6},{9,7,12,15,17}),9)", "0.997054486"},
      {"=ROUND(RSQ({2,3,9,1,8,7,5},{6,5,11,7,5,4,4}),5)", "0.05795"},
      {"=ROUND(SLOPE({2,3,9,1,8,7,5},{6,5,11,7,5,4,4}),6)", "0.305556"},
      {"=ROUND(INTERCEPT({2,3,9,1,8},{6,5,11,7,5}),7)", "0.0483871"},
      {"=ROUND(STEYX({2,3,9,1,8,7,5},{6,5,11,7,5,4,4}),6)", "3.305719"},
      {"=ROUND(FORECAST(30,{6,7,9,15,21},{20,28,31,38,40}),6)", "10.607253"},
      {"=COVAR({3,2,4,5,6},{9,7,12,15,17})", "5.2"}, {"=ROUND(COVARIANCE.S({2,4,8},{5,11,12}),9)", "9.666666667"},
      {"=SUMX2MY2({2,3,9,1,8,7,5},{6,5,11,7,5,4,4})", "-55"}, {"=SUMX2PY2({2,3,9,1,8,7,5},{6,5,11,7,5,4,4})", "521"},
      {"=SUMXMY2({2,3,9,1,8,7,5},{6,5,11,7,5,4,4})", "79"}, {"=SLOPE({1,2},{1,2,3})", "#N/A"},
      {"=CORREL(A1:A2,B1:B2)", "#DIV/0!"},       {"=COUNTBLANK(B1:B4)", "3"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// The A forms take a range's Booleans as 1 and 0 and its texts as 0, with
// the examples of Microsoft's help.
TEST(Statistics, AFormsCountBooleansAndTexts) {
  ExpectShown("A1 0\nA2 0.2\nA3 0.5\nA4 0.4\nA5 TRUE\nB1 FALSE\nB2 0.2\nB3 0.5\nB4 0.4\nB5 0.8\n"
              "C1 10\nC2 7\nC3 9\nC4 2\nC5 \"Not available\"\n", {
      {"=MAXA(A1:A5)", "1"},                   {"=MINA(B1:B5)", "0"},                 {"=AVERAGEA(C1:C5)", "5.6"},
      {"=AVERAGEA(C1:C4,C7)", "7"},            {"=MAXA(C7)", "0"},                    {"=AVERAGEA(C7)", "#DIV/0!"},
      {"=ROUND(STDEVA(C1:C5),6)", "4.393177"}, {"=ROUND(VARPA(C1:C5),2)", "15.44"},    {"=VARA(1,\"x\")", "#VALUE!"},
      {"=ROUND(STDEVPA(A1:A5),6)", "0.337046"}, {"=ROUND(VARA(A1:A5),3)", "0.142"},   {"=MAXA(#N/A,1)", "#N/A"},
  });
}

}  // namespace
