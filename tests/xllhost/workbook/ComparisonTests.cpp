// A cell's value compared with what Excel saved for it: the rule by which a
// workbook Excel calculated is judged the same here.
#include <gtest/gtest.h>

#include "formulas/Literals.h"
#include "workbook/Comparison.h"

namespace {

xllhost::Value Read(const std::string& text) {
  xllhost::Value value;
  if (!text.empty() && !xllhost::ReadValue(text, &value)) ADD_FAILURE() << "no constant: " << text;
  return value;  // an empty text is an empty cell
}

TEST(Comparison, JudgesEachKindOfValueAsExcelShowsIt) {
  const struct {
    const char* value;
    const char* saved;
    double tolerance;
    const char* why;  // empty: the same
  } cases[] = {
      {"0.30000000000000004", "0.3", 0, ""},  // 15 significant digits, as Excel shows them
      {"1.00000000000001", "1", 0, "the numbers differ within 15 significant digits"},
      {"100.00001", "100", 1e-6, ""},
      {"100.001", "100", 1e-6, "the numbers differ by more than the relative tolerance"},
      {"\"1\"", "1", 0, "a text where Excel saved a number"},
      {"", "", 0, ""},
      {"0", "", 0, "a number where Excel saved an empty cell"},
      {"", "0", 0, "an empty cell where Excel saved a number"},
      {"\"a\"", "\"A\"", 0, "the texts differ"},
      {"#N/A", "#VALUE!", 0, "the errors differ"},
      {"TRUE", "FALSE", 0, "the Booleans differ"},
      {"{1,2}", "{1;2}", 0, "an array of 1x2 where Excel saved one of 2x1"},
      {"{1,2;3,4}", "{1,2;3,5}", 0, "element (2,2): the numbers differ"},
  };
  for (const auto& c : cases) {
    const std::string why = xllhost::Difference(Read(c.value), Read(c.saved), c.tolerance);
    if (*c.why == '\0') {
      EXPECT_EQ(why, "") << c.value << " against " << c.saved;
    } else {
      EXPECT_NE(why.find(c.why), std::string::npos) << c.value << " against " << c.saved << " said: " << why;
    }
  }
}

TEST(Comparison, SkipsTheElementsOfABlockExcelSavedNoValueFor) {
  xllhost::Value saved = Read("{1,2}");
  saved.elements[1] = xllhost::Value{};
  EXPECT_EQ(xllhost::Difference(Read("{1,99}"), saved, 0), "");
}

}  // namespace
