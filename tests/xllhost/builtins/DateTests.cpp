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

// Counting between dates and working days, with the examples of
// Microsoft's help.
TEST(Dates, CountAsExcelsExamples) {
  const xllhost::Workbook book = BookOf("A1 39778\nA2 39786\nA3 39834\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=DAYS(DATE(2021,3,15),DATE(2021,2,1))", "42"}, {"=DAYS360(DATE(2011,1,30),DATE(2011,12,31))", "330"},
      {"=DAYS360(DATE(2011,1,1),DATE(2011,2,1))", "30"}, {"=DAYS360(DATE(2011,1,15),DATE(2011,3,31))", "76"},
      {"=DAYS360(DATE(2011,1,31),DATE(2011,3,31),TRUE)", "60"},
      {"=DATEDIF(DATE(2001,1,1),DATE(2003,1,1),\"Y\")", "2"}, {"=DATEDIF(DATE(2001,6,1),DATE(2002,8,15),\"D\")", "440"},
      {"=DATEDIF(DATE(2001,6,1),DATE(2002,8,15),\"ym\")", "2"}, {"=DATEDIF(DATE(2001,6,15),DATE(2002,8,1),\"M\")", "13"},
      {"=DATEDIF(DATE(2002,1,1),DATE(2001,1,1),\"Y\")", "#NUM!"}, {"=DATEDIF(1000,2000,\"W\")", "#NUM!"},
      {"=ROUND(YEARFRAC(DATE(2012,1,1),DATE(2012,7,30)),8)", "0.58055556"},
      {"=ROUND(YEARFRAC(DATE(2012,1,1),DATE(2012,7,30),1),8)", "0.57650273"},
      {"=ROUND(YEARFRAC(DATE(2012,7,30),DATE(2012,1,1),3),8)", "0.57808219"},
      {"=YEARFRAC(DATE(2012,1,1),DATE(2012,7,30),5)", "#NUM!"},
      {"=WEEKNUM(DATE(2012,3,9))", "10"},          {"=WEEKNUM(DATE(2012,3,9),2)", "11"},
      {"=ISOWEEKNUM(DATE(2012,3,9))", "10"},       {"=ISOWEEKNUM(DATE(2021,1,1))", "53"},
      {"=NETWORKDAYS(DATE(2012,10,1),DATE(2013,3,1))", "110"},
      {"=NETWORKDAYS(DATE(2012,10,1),DATE(2013,3,1),DATE(2012,11,22))", "109"},
      {"=NETWORKDAYS.INTL(DATE(2006,2,28),DATE(2006,1,31))", "-21"},
      {"=NETWORKDAYS.INTL(DATE(2006,1,1),DATE(2006,2,1),7,{38719,38733})", "22"},
      {"=NETWORKDAYS.INTL(DATE(2006,1,1),DATE(2006,2,1),\"0010001\",{38719,38733})", "20"},
      {"=WORKDAY(DATE(2008,10,1),151)", "39933"},   {"=WORKDAY(DATE(2008,10,1),151,A1:A3)", "39938"},
      {"=WORKDAY.INTL(DATE(2012,1,1),30,0)", "#NUM!"}, {"=WORKDAY.INTL(DATE(2012,1,1),30,17)", "40944"},
      {"=WORKDAY.INTL(DATE(2012,1,1),90,11)", "41013"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// Dates and times written as texts, in the forms of the en-US locale;
// those of Microsoft's help for DATEVALUE and TIMEVALUE among them.
TEST(Dates, ReadTextsAsExcelDoes) {
  ExpectShown("", {
      {"=DATEVALUE(\"8/22/2011\")", "40777"},      {"=DATEVALUE(\"22-MAY-2011\")", "40685"},
      {"=DATEVALUE(\"2011/02/23\")", "40597"},     {"=DATEVALUE(\"2011-2-23 10:00\")", "40597"},
      {"=DATEVALUE(\"March 14, 2012\")", "40982"}, {"=DATEVALUE(\"1/1/29\")", "47119"},
      {"=DATEVALUE(\"1/1/30\")", "10959"},         {"=DATEVALUE(\"2/29/1900\")", "60"},
      {"=DATEVALUE(\"2/29/2011\")", "#VALUE!"},    {"=DATEVALUE(\"13/1/2011\")", "#VALUE!"},
      {"=DATEVALUE(\"abc\")", "#VALUE!"},          {"=DATEVALUE(40777)", "#VALUE!"},
      {"=DATEVALUE(\"1/1/1899\")", "#VALUE!"},     {"=TIMEVALUE(\"2:24 AM\")", "0.1"},
      {"=ROUND(TIMEVALUE(\"22-Aug-2011 6:35 AM\"),10)", "0.2743055556"}, {"=TIMEVALUE(\"12:00 AM\")", "0"},
      {"=TIMEVALUE(\"13:30\")", "0.5625"},         {"=TIMEVALUE(\"8/22/2011\")", "0"},
      {"=TIMEVALUE(\"13:30 PM\")", "#VALUE!"},     {"=TIMEVALUE(\"10:75\")", "#VALUE!"},
      {"=YEAR(\"8/22/2011\")", "2011"},            {"=DAY(\"Mar 14 2012\")", "14"},
      {"=HOUR(\"6:45 PM\")", "18"},                {"=MONTH(\"Sept 1, 2020\")", "9"},
  });
}

}  // namespace
