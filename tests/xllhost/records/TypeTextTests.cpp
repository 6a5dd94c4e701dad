// Reading a type text.
#include <gtest/gtest.h>

#include "records/TypeText.h"

namespace {

TEST(TypeText, AcceptsEachCodeTheHostPassesAndRecordsTheMarkers) {
  const struct {
    const char* text;
    size_t args;
    int resultArgument;
    const char* markers;
  } cases[] = {{"BBB", 2, 0, ""}, {"AHIJLMN", 6, 0, ""}, {"C%C%D%", 2, 0, ""}, {"PRQU!", 3, 0, "!"},
               {"FCF", 2, 2, ""}, {"G%G%", 1, 1, ""},    {"2EN$", 2, 2, "$"},  {">E#&", 1, 1, "#&"},
               {"BOO%", 2, 0, ""}, {">O%", 1, 1, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    xllhost::Signature signature;
    std::string why;
    ASSERT_TRUE(xllhost::ParseTypeText(c.text, &signature, &why)) << why;
    EXPECT_EQ(signature.args.size(), c.args);
    EXPECT_EQ(signature.resultArgument, c.resultArgument);
    EXPECT_EQ(signature.markers, c.markers);
  }
}

TEST(TypeText, RefusesWhatItCannotPassNamingTheReason) {
  const struct {
    std::string text;
    const char* why;
  } cases[] = {{"BX", "has an asynchronous handle (X) but does not start with >"},
               {">BXX", "more than one asynchronous handle"},
               {">XB&", "both asynchronous (X) and cluster-safe (&)"},
               {"OB", "returns O, which Excel passes only as an argument"},
               {"B" + std::string(11, 'O'), "passes 33 words of arguments; xllhost passes at most 32"},
               {"BZ", "letter Z, which is no type code"},
               {"3BB", "returns argument 3, which is no argument passed by reference"},
               {"1B", "returns argument 1, which is no argument passed by reference"},
               {"FB", "returns F but has no argument of that type"},
               {"B!B", "has B after its markers"},
               {"", "empty"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    xllhost::Signature signature;
    std::string why;
    EXPECT_FALSE(xllhost::ParseTypeText(c.text, &signature, &why));
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
  }
}

TEST(TypeText, ReadsAnAsynchronousFunctionAsVoidWithItsHandleNoFormulaArgument) {
  xllhost::Signature signature;
  std::string why;
  ASSERT_TRUE(xllhost::ParseTypeText(">QXJ$", &signature, &why)) << why;
  EXPECT_TRUE(signature.Asynchronous());
  EXPECT_EQ(signature.resultArgument, 0) << "> modifies no argument of an asynchronous function";
  EXPECT_EQ(signature.Given(0), xllhost::TypeCode::Oper12);
  EXPECT_EQ(signature.Given(1), xllhost::TypeCode::Long) << "the formula's second argument is the third passed";
}

}  // namespace
