// The math, statistical, logical and information built-ins, as Excel
// answers them, its errors for wrong arguments included.
#include "EngineTest.h"

namespace {

TEST(Math, AnswersAsExcelDoes) {
  // A1:A6 numbers, a text, a Boolean, an empty cell and an error; B1:B5 texts.
  const xllhost::Workbook book = BookOf(
      "A1 1\nA2 2\nA3 \"3\"\nA4 TRUE\nA6 #N/A\nA7 5\nB1 \"apple\"\nB2 \"avocado\"\nB3 \"banana\"\nB5 \"\"\n"
      "C1 10\nC2 20\nC3 30\nC4 40\nC5 50\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=FLOOR(2.5,1)", "2"},          {"=FLOOR(-2.5,2)", "-4"},         {"=FLOOR(-2.5,-2)", "-2"},
      {"=FLOOR(2.5,-2)", "#NUM!"},     {"=FLOOR(0.3,0.1)", "0.3"},       {"=FLOOR(1,0)", "#DIV/0!"},
      {"=CEILING(2.5,1)", "3"},        {"=CEILING(-2.5,2)", "-2"},       {"=CEILING(-2.5,-2)", "-4"},
      {"=CEILING(1.5,0)", "0"},        {"=CEILING(2,-1)", "#NUM!"},      {"=COUNT(A1:A7)", "3"},
      {"=CEILING.MATH(24.3,5)", "25"}, {"=CEILING.MATH(6.7)", "7"},      {"=CEILING.MATH(-8.1,2)", "-8"},
      {"=CEILING.MATH(-5.5,2,-1)", "-6"}, {"=FLOOR.MATH(24.3,5)", "20"}, {"=FLOOR.MATH(6.7)", "6"},
      {"=FLOOR.MATH(-8.1,2)", "-10"},  {"=FLOOR.MATH(-5.5,2,-1)", "-4"}, {"=CEILING.PRECISE(4.3,-2)", "6"},
      {"=CEILING.PRECISE(-4.3)", "-4"}, {"=FLOOR.PRECISE(-3.2,-1)", "-4"}, {"=FLOOR.PRECISE(3.2)", "3"},
      {"=ISO.CEILING(-4.3,2)", "-4"},  {"=FLOOR.MATH(5,0)", "0"},        {"=CEILING.MATH(0.3,0.1)", "0.3"},
      {"=COUNT(1,\"2\",\"x\",TRUE)", "3"}, {"=COUNTA(A1:A7)", "6"},       {"=COUNTA(1,\"\",#N/A)", "3"},
      {"=SUMPRODUCT({1,2},{3,4})", "11"}, {"=SUMPRODUCT({1,2},{3;4})", "#VALUE!"},
      {"=SUMPRODUCT(A1:A3,C1:C3)", "50"}, {"=SUMPRODUCT(A6:A7)", "#N/A"},
      {"=SUMIF(A1:A3,\">1\")", "2"},   {"=SUMIF(B1:B5,\"a*\",C1:C5)", "30"}, {"=SUMIF(B1:B5,\"<>a*\",C1)", "120"},
      {"=SUMIF(A1:A7,\"#N/A\",C1)", "0"}, {"=COUNTIF(B1:B5,\"A?OCADO\")", "1"}, {"=COUNTIF(B1:B5,\"\")", "2"},
      {"=COUNTIF(C1:C5,\">=30\")", "3"}, {"=COUNTIF(C1:C5,30)", "1"},    {"=COUNTIF(A1:A7,\"<>1\")", "6"},
      {"=COUNTIF(A1:A7,TRUE)", "1"},   {"=ISNUMBER(A1)", "TRUE"},        {"=ISNUMBER(A3)", "FALSE"},
      {"=ISTEXT(A3)", "TRUE"},         {"=ISTEXT(A5)", "FALSE"},
      {"=COUNTIFS(B1:B5,\"a*\",C1:C5,\">10\")", "1"}, {"=SUMIFS(C1:C5,B1:B5,\"a*\",C1:C5,\"<25\")", "30"},
      {"=AVERAGEIF(C1:C5,\">20\")", "40"}, {"=AVERAGEIF(B1:B5,\"b*\",C1)", "30"},
      {"=AVERAGEIFS(C1:C5,B1:B5,\"z*\")", "#DIV/0!"}, {"=COUNTIFS(B1:B5,\"a*\",C1:C2,\">0\")", "#VALUE!"},
      {"=SUMIFS(A1:A7,A1:A7,\"<>0\")", "#N/A"},  // the error among the cells summed
      {"=XOR(3>0,2<9)", "FALSE"},      {"=XOR(3>12,4>6)", "FALSE"},       {"=XOR(TRUE,A1:A2)", "TRUE"},
      {"=XOR(1,1,1)", "TRUE"},         {"=XOR(B1:B2)", "#VALUE!"},
      {"=IFNA(NA(),\"x\")", "x"},     {"=IFNA(1/0,\"x\")", "#DIV/0!"},   {"=IFNA(A1,\"x\")", "1"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// The examples of Microsoft's help for each function, and their domains.
TEST(Math, TrigonometryRoundingAndInformationAnswerAsExcelsExamples) {
  const xllhost::Workbook book = BookOf("A1 -0.00001\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=SIN(PI()/2)", "1"},           {"=SIN(30*PI()/180)", "0.5"},       {"=COS(1.047)", "0.50017107459707"},
      {"=COS(60*PI()/180)", "0.5"},    {"=TAN(0.785)", "0.999203990105043"}, {"=TAN(45*PI()/180)", "1"},
      {"=ASIN(-0.5)", "-0.523598775598299"}, {"=ASIN(2)", "#NUM!"},     {"=ACOS(-0.5)", "2.0943951023932"},
      {"=ACOS(-1.5)", "#NUM!"},        {"=ATAN(1)", "0.785398163397448"}, {"=ATAN2(1,1)", "0.785398163397448"},
      {"=ATAN2(-1,-1)", "-2.35619449019234"}, {"=ATAN2(0,0)", "#DIV/0!"}, {"=SIN(\"x\")", "#VALUE!"},
      {"=LOG10(86)", "1.93449845124357"}, {"=LOG10(1E5)", "5"},          {"=LOG10(0)", "#NUM!"},
      {"=SIGN(10)", "1"},              {"=SIGN(4-4)", "0"},               {"=SIGN(A1)", "-1"},
      {"=ROUNDUP(3.2,0)", "4"},        {"=ROUNDUP(76.9,0)", "77"},        {"=ROUNDUP(3.14159,3)", "3.142"},
      {"=ROUNDUP(-3.14159,1)", "-3.2"}, {"=ROUNDUP(31415.92654,-2)", "31500"}, {"=ROUNDUP(0.1*3,1)", "0.3"},
      {"=ROUNDDOWN(3.2,0)", "3"},      {"=ROUNDDOWN(76.9,0)", "76"},      {"=ROUNDDOWN(3.14159,3)", "3.141"},
      {"=ROUNDDOWN(-3.14159,1)", "-3.1"}, {"=ROUNDDOWN(31415.92654,-2)", "31400"},
      {"=TRUNC(8.9)", "8"},            {"=TRUNC(-8.9)", "-8"},            {"=TRUNC(0.45)", "0"},
      {"=SUM(SIGN({-2,0,3}))", "0"},
      {"=ISNA(NA())", "TRUE"},         {"=ISNA(1/0)", "FALSE"},           {"=ISBLANK(A2)", "TRUE"},
      {"=ISBLANK(\"\")", "FALSE"},     {"=ISBLANK(A1)", "FALSE"},
      {"=SINH(1)", "1.1752011936438"}, {"=ROUND(COSH(4),8)", "27.30823284"}, {"=ROUND(TANH(-2),9)", "-0.96402758"},
      {"=ROUND(ASINH(-2.5),9)", "-1.647231146"}, {"=ACOSH(1)", "0"},       {"=ACOSH(0.5)", "#NUM!"},
      {"=ROUND(ATANH(0.76159416),8)", "1.00000001"}, {"=ATANH(1)", "#NUM!"},
      {"=ROUND(RADIANS(270),6)", "4.712389"}, {"=DEGREES(PI())", "180"},
      {"=EVEN(1.5)", "2"},             {"=EVEN(3)", "4"},                 {"=EVEN(2)", "2"},
      {"=EVEN(-1)", "-2"},             {"=ODD(1.5)", "3"},                {"=ODD(3)", "3"},
      {"=ODD(2)", "3"},                {"=ODD(-1)", "-1"},                {"=ODD(-2)", "-3"},
      {"=ODD(0)", "1"},                {"=FACT(5)", "120"},               {"=FACT(1.9)", "1"},
      {"=FACT(0)", "1"},               {"=FACT(-1)", "#NUM!"},            {"=FACT(171)", "#NUM!"},
      {"=COMBIN(8,2)", "28"},          {"=COMBIN(60,30)", "1.18264581564861E+17"},
      {"=COMBIN(2,3)", "#NUM!"},       {"=COMBIN(2E9,1E9)", "#NUM!"},     {"=ROMAN(1E300)", "#VALUE!"},
      {"=MROUND(10,3)", "9"},          {"=MROUND(-10,-3)", "-9"},         {"=MROUND(1.3,0.2)", "1.4"},
      {"=MROUND(5,-2)", "#NUM!"},      {"=QUOTIENT(5,2)", "2"},           {"=QUOTIENT(4.5,3.1)", "1"},
      {"=QUOTIENT(-10,3)", "-3"},      {"=QUOTIENT(1,0)", "#DIV/0!"},     {"=ISEVEN(-1)", "FALSE"},
      {"=ISEVEN(2.5)", "TRUE"},        {"=ISEVEN(5)", "FALSE"},           {"=ISODD(-1)", "TRUE"},
      {"=ISODD(2.5)", "FALSE"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// Bases, Roman numerals and divisors, with the examples of Microsoft's help.
TEST(Math, WholeNumbersAnswerAsExcelsExamples) {
  const xllhost::Workbook book = BookOf("A1 24\nA2 36\nA3 \"x\"\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=DEC2BIN(9,4)", "1001"},          {"=DEC2BIN(-100)", "1110011100"},  {"=DEC2BIN(512)", "#NUM!"},
      {"=DEC2BIN(9,2)", "#NUM!"},         {"=DEC2BIN(9.9)", "1001"},         {"=DEC2OCT(58,3)", "072"},
      {"=DEC2OCT(-100)", "7777777634"},   {"=DEC2HEX(100,4)", "0064"},       {"=DEC2HEX(-54)", "FFFFFFFFCA"},
      {"=BIN2DEC(1100100)", "100"},       {"=BIN2DEC(1111111111)", "-1"},    {"=BIN2DEC(\"12\")", "#NUM!"},
      {"=BIN2DEC(\"11111111111\")", "#NUM!"}, {"=BIN2OCT(1001,3)", "011"},  {"=BIN2OCT(1111111111)", "7777777777"},
      {"=BIN2HEX(11111011,4)", "00FB"},   {"=BIN2HEX(1111111111)", "FFFFFFFFFF"}, {"=OCT2DEC(7777777533)", "-165"},
      {"=OCT2BIN(3,3)", "011"},           {"=OCT2BIN(7777777000)", "1000000000"}, {"=OCT2HEX(100,4)", "0040"},
      {"=OCT2HEX(7777777533)", "FFFFFFFF5B"}, {"=HEX2DEC(\"a5\")", "165"},   {"=HEX2DEC(\"FFFFFFFF5B\")", "-165"},
      {"=HEX2DEC(\"3DA408B9\")", "1034160313"}, {"=HEX2BIN(\"F\",8)", "00001111"}, {"=HEX2BIN(\"FFFFFFFFFF\")", "1111111111"},
      {"=HEX2BIN(\"FFFFFFFDFF\")", "#NUM!"}, {"=HEX2OCT(\"3B4E\")", "35516"}, {"=HEX2OCT(\"FFFFFFFF00\")", "7777777400"},
      {"=ROMAN(499)", "CDXCIX"},          {"=ROMAN(0)", ""},                 {"=ROMAN(4000)", "#VALUE!"},
      {"=ARABIC(\"LVII\")", "57"},       {"=ARABIC(\"mcmxii\")", "1912"},   {"=ARABIC(\"\")", "0"},
      {"=ARABIC(\"-MMXI\")", "-2011"},   {"=ARABIC(\"ABC\")", "#VALUE!"},
      {"=GCD(5,2)", "1"},                 {"=GCD(A1:A2)", "12"},             {"=GCD(5,0)", "5"},
      {"=BASE(7,2)", "111"},              {"=BASE(100,16)", "64"},           {"=BASE(15,2,10)", "0000001111"},
      {"=BASE(-1,2)", "#NUM!"},           {"=BASE(35,36)", "Z"},             {"=BASE(1,37)", "#NUM!"},
      {"=DECIMAL(\"FF\",16)", "255"},     {"=DECIMAL(111,2)", "7"},          {"=DECIMAL(\"zap\",36)", "45745"},
      {"=DECIMAL(\"12\",2)", "#NUM!"},
      {"=GCD(-1,2)", "#NUM!"},            {"=LCM(5,2)", "10"},               {"=LCM(A1:A2)", "72"},
      {"=LCM(3,0)", "0"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

// DELTA, GESTEP and the BIT functions; a BIT number below 0, not whole or
// from 2^48 on, or a shift past 53 places, is #NUM!.
TEST(Math, BitsAndThresholdsAnswerAsExcelsExamples) {
  ExpectShown("", {
      {"=DELTA(5,4)", "0"},           {"=DELTA(5,5)", "1"},            {"=DELTA(0.5,0)", "0"},
      {"=DELTA(\"x\")", "#VALUE!"}, {"=GESTEP(5,4)", "1"},           {"=GESTEP(5,5)", "1"},
      {"=GESTEP(-4,-5)", "1"},        {"=GESTEP(-1)", "0"},            {"=BITAND(1,5)", "1"},
      {"=BITAND(13,25)", "9"},        {"=BITOR(23,10)", "31"},         {"=BITXOR(5,3)", "6"},
      {"=BITLSHIFT(4,2)", "16"},      {"=BITRSHIFT(13,2)", "3"},       {"=BITLSHIFT(13,-2)", "3"},
      {"=BITAND(-1,1)", "#NUM!"},     {"=BITOR(1.5,1)", "#NUM!"},      {"=BITXOR(2^48,1)", "#NUM!"},
      {"=BITLSHIFT(1,54)", "#NUM!"},  {"=BITLSHIFT(2^47,1)", "#NUM!"}, {"=BITAND({3,6},5)", "1"},
  });
}

// The reciprocal trigonometry, the combinatorics and MAXIFS and MINIFS,
// with the examples of Microsoft's help.
TEST(Math, ReciprocalsAndCombinatoricsAnswerAsExcelsExamples) {
  ExpectShown("A1 89\nA2 93\nA3 96\nA4 85\nA5 91\nA6 88\nB1 1\nB2 2\nB3 2\nB4 3\nB5 1\nB6 1\n", {
      {"=ROUND(CSC(15),9)", "1.537780562"},   {"=ROUND(SEC(45),5)", "1.90359"},     {"=ROUND(COT(30),3)", "-0.156"},
      {"=ROUND(CSCH(1.5),4)", "0.4696"},      {"=ROUND(COTH(2),3)", "1.037"},       {"=ROUND(ACOT(2),4)", "0.4636"},
      {"=ROUND(ACOTH(6),3)", "0.168"},        {"=CSC(0)", "#DIV/0!"},               {"=COT(2^27)", "#NUM!"},
      {"=SECH(0)", "1"},                      {"=ACOTH(0.5)", "#NUM!"},             {"=ROUND(ACOT(-2),6)", "2.677945"},
      {"=PERMUT(100,3)", "970200"},           {"=PERMUT(3,2)", "6"},                {"=PERMUT(2,3)", "#NUM!"},
      {"=PERMUTATIONA(3,2)", "9"},            {"=PERMUTATIONA(2,2)", "4"},          {"=COMBINA(4,3)", "20"},
      {"=COMBINA(10,3)", "220"},              {"=FACTDOUBLE(6)", "48"},             {"=FACTDOUBLE(7)", "105"},
      {"=FACTDOUBLE(-1)", "1"},               {"=FACTDOUBLE(-2)", "#NUM!"},         {"=MULTINOMIAL(2,3,4)", "1260"},
      {"=MULTINOMIAL(2,-1)", "#NUM!"},        {"=ROUND(SQRTPI(1),9)", "1.772453851"}, {"=ROUND(SQRTPI(2),9)", "2.506628275"},
      {"=SQRTPI(-1)", "#NUM!"},               {"=MAXIFS(A1:A6,B1:B6,1)", "91"},     {"=MINIFS(A1:A6,B1:B6,\">1\")", "85"},
      {"=MAXIFS(A1:A6,B1:B6,9)", "0"},        {"=MINIFS(A1:A6,B1:A6,1)", "#VALUE!"},
  });
}

}  // namespace
