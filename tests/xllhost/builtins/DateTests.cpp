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
      {"=DAY(0)", "0"},              {"=YEAR(-1)", "#NUM!"},        {"=DAY(TRUE)", "1"},
      {"=DAY(2958465.5)", "31"},     {"=DAY(2958466)", "#NUM!"},
      {"=TIME(12,0,0)", "0.5"},      {"=ROUND(TIME(16,48,10),9)", "0.700115741"}, {"=TIME(27,0,0)", "0.125"},
      {"=TIME(0,-1,0)", "#NUM!"},    {"=TIME(1,-30,0)", "0.0208333333333333"}, {"=TIME(32768,0,0)", "#NUM!"},
      {"=HOUR(0.75)", "18"},         {"=HOUR(45351.5)", "12"},      {"=MINUTE(0.78125)", "45"},
      {"=SECOND(0.5+30/86400)", "30"}, {"=SECOND(0.5+29.6/86400)", "30"}, {"=HOUR(-1)", "#NUM!"},
      {"=WEEKDAY(39492)", "5"},      {"=WEEKDAY(39492,2)", "4"},    {"=WEEKDAY(39492,3)", "3"},
      {"=WEEKDAY(39492,11)", "4"},   {"=WEEKDAY(39492,17)", "5"},   {"=WEEKDAY(39492,4)", "#NUM!"},
      {"=WEEKDAY(0)", "7"},          {"=WEEKDAY(1)", "1"},
      {"=EDATE(40558,1)", "40589"},  {"=EDATE(40558,-1)", "40527"}, {"=EDATE(40558,2.9)", "40617"},
      {"=EDATE(DATE(2011,1,31),1)", "40602"}, {"=EOMONTH(40544,1)", "40602"}, {"=EOMONTH(40544,-3)", "40482"},
      {"=EOMONTH(DATE(2024,1,15),1)", "45351"}, {"=EDATE(40558,-1E7)", "#NUM!"}, {"=EDATE(2958465,1)", "#NUM!"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

}  // namespace
