// The database functions, on the example of Microsoft's help for them: a
// database of trees in A5:E11 and criteria in A1:F3.
#include "EngineTest.h"

namespace {

const char* const Trees =
    "A1 \"Tree\"\nB1 \"Height\"\nC1 \"Age\"\nD1 \"Yield\"\nE1 \"Profit\"\nF1 \"Height\"\n"
    "A2 \"=Apple\"\nB2 \">10\"\nF2 \"<16\"\nA3 \"=Pear\"\n"
    "A5 \"Tree\"\nB5 \"Height\"\nC5 \"Age\"\nD5 \"Yield\"\nE5 \"Profit\"\n"
    "A6 \"Apple\"\nB6 18\nC6 20\nD6 14\nE6 105\nA7 \"Pear\"\nB7 12\nC7 12\nD7 10\nE7 96\n"
    "A8 \"Cherry\"\nB8 13\nC8 14\nD8 9\nE8 105\nA9 \"Apple\"\nB9 14\nC9 15\nD9 10\nE9 75\n"
    "A10 \"Pear\"\nB10 9\nC10 8\nD10 8\nE10 76.8\nA11 \"Apple\"\nB11 8\nC11 9\nD11 6\nE11 45\n"
    "H1 \"tree\"\nH2 \"Pe\"\nI1 \"Tree\"\nI2 \"=Plum\"\nJ1 \"Big\"\nJ2 TRUE\nK1 \"Tree\"\n";

TEST(Database, AnswersAsExcelsExamples) {
  ExpectShown(Trees, {
      {"=DCOUNT(A5:E11,\"Age\",A1:F2)", "1"},         {"=DCOUNTA(A5:E11,\"Profit\",A1:F2)", "1"},
      {"=DMAX(A5:E11,\"Profit\",A1:A3)", "105"},      {"=DMIN(A5:E11,\"Profit\",A1:B2)", "75"},
      {"=DSUM(A5:E11,\"Profit\",A1:A2)", "225"},      {"=DSUM(A5:E11,\"Profit\",A1:F2)", "75"},
      {"=DPRODUCT(A5:E11,\"Yield\",A1:F2)", "10"},    {"=DAVERAGE(A5:E11,\"Yield\",A1:B2)", "12"},
      {"=DAVERAGE(A5:E11,3,A5:E11)", "13"},           {"=ROUND(DSTDEV(A5:E11,\"Yield\",A1:A3),12)", "2.966479394838"},
      {"=ROUND(DSTDEVP(A5:E11,\"Yield\",A1:A3),12)", "2.653299832284"},
      {"=DVAR(A5:E11,\"Yield\",A1:A3)", "8.8"},       {"=DVARP(A5:E11,\"Yield\",A1:A3)", "7.04"},
      {"=DGET(A5:E11,\"Yield\",A1:A3)", "#NUM!"},     {"=DGET(A5:E11,\"Yield\",A1:F2)", "10"},
  });
}

// A text without an operator matches the texts that begin with it; an
// empty condition, every record; a field that is no label or position,
// #VALUE!; no record for DGET, #VALUE!.
TEST(Database, ReadsConditionsAndFieldsAsExcelDoes) {
  ExpectShown(Trees, {
      {"=DSUM(A5:E11,\"Profit\",H1:H2)", "172.8"}, {"=DSUM(A5:E11,\"Age\",K1:K2)", "78"},
      {"=DSUM(A5:E11,5,A1:A2)", "225"},            {"=DCOUNT(A5:E11,,A1:A3)", "5"},
      {"=DSUM(A5:E11,\"Nope\",A1:A2)", "#VALUE!"}, {"=DSUM(A5:E11,6,A1:A2)", "#VALUE!"},
      {"=DSUM(A5:E11,,A1:A2)", "#VALUE!"},         {"=DGET(A5:E11,\"Yield\",I1:I2)", "#VALUE!"},
      {"=DAVERAGE(A5:E11,\"Yield\",I1:I2)", "#DIV/0!"}, {"=DSUM({1,2;3,4},1,A1:A2)", "#VALUE!"},
  });
  const xllhost::Workbook book = BookOf(Trees);
  MemoryHost host;
  std::string why;
  EXPECT_EQ(Shown(book, host, "=DSUM(A5:E11,\"Age\",J1:J2)", &why), "#N/A");
  EXPECT_EQ(why, "a computed criterion of a database function");
}

}  // namespace
