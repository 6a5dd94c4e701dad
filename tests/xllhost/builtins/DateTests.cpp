// The date built-ins, in serial numbers of Excel's 1900 date system, with
// its 29 February 1900.
#include "EngineTest.h"

namespace {

TEST(Dates, AnswerAsExcelDoes) {
  const xllhost::Workbook book;
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=DATE(2024,2,29)", "45351"}, {"=DATE(1900,1,1)", "1"},     {"=DATE(1900,3,1)", "61"},
      {"=DATE(99,1,1)", "36161"},    {"=DATE(2024,13,1)", "45658"}, {"=DATE(2024,1,0)", "45291"},
      {"=DATE(2024,-1,1)", "45231"}, {"=DATE(-1,1,1)", "#NUM!"},    {"=DATE(10000,1,1)", "#NUM!"},
      {"=YEAR(45351)", "2024"},      {"=MONTH(45351)", "2"},        {"=DAY(45351.75)", "29"},
      {"=DAY(60)", "29"},            {"=MONTH(60)", "2"},           {"=DAY(61)", "1"},
      {"=DAY(0)", "0"},              {"=YEAR(-1)", "#NUM!"},        {"=DAY(\"x\")", "#VALUE!"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

}  // namespace
