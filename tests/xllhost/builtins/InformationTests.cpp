// The built-ins that tell what a value is, with the examples of Microsoft's
// help for each.
#include "EngineTest.h"

namespace {

TEST(Information, AnswersAsExcelsExamples) {
  const xllhost::Workbook book = BookOf("A1 \"Smith\"\nA2 7\nA3 TRUE\nA4 #DIV/0!\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=TYPE(A1)", "2"},           {"=TYPE(\"Mr. \"&A1)", "2"},  {"=TYPE(2+A1)", "16"},
      {"=TYPE({1,2;3,4})", "64"},   {"=TYPE(A3)", "4"},           {"=TYPE(A9)", "1"},
      {"=ERROR.TYPE(A4)", "2"},     {"=ERROR.TYPE(NA())", "7"},   {"=ERROR.TYPE(A2)", "#N/A"},
      {"=ISERR(NA())", "FALSE"},    {"=ISERR(A4)", "TRUE"},       {"=ISLOGICAL(A3)", "TRUE"},
      {"=ISLOGICAL(1)", "FALSE"},   {"=ISNONTEXT(A1)", "FALSE"},  {"=ISNONTEXT(A9)", "TRUE"},
      {"=N(A2)", "7"},              {"=N(\"Even\")", "0"},        {"=N(A3)", "1"},
      {"=N(A4)", "#DIV/0!"},        {"=T(\"Rainfall\")", "Rainfall"}, {"=T(19)", ""},
      {"=T(A3)", ""},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}

}  // namespace
