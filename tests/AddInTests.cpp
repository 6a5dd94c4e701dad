// The values Quorrel.xll hands back: its title for the Add-In Manager and the
// answer of =TavikFnc(), checked byte by byte in the records it returns.
#include <cmath>
#include <cstring>
#include <limits>

#include "TestHost.h"

namespace {

using xllhost::IntegerRequest;
using xllhost::NumberRequest;

XLOPER StringRequest(const char* counted) {
  XLOPER request{};
  request.val.str = const_cast<char*>(counted);
  request.xltype = xltypeStr;
  return request;
}

class ManagerInfo : public QuorrelTest {
 protected:
  LPXLOPER Ask(XLOPER request) { return addIn.addInManagerInfo(&request); }

  static void ExpectTitle(LPXLOPER answer) {
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->xltype, xltypeStr);  // whole word: no ownership bit
    ASSERT_NE(answer->val.str, nullptr);
    EXPECT_EQ(answer->val.str[0], 12);
    EXPECT_EQ(std::memcmp(answer->val.str + 1, "Tavik Add-In", 12), 0);
  }

  static void ExpectValueError(LPXLOPER answer) {
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->xltype, xltypeErr);
    EXPECT_EQ(answer->val.err, xlerrValue);
  }
};

TEST_F(ManagerInfo, AnswersTitleForIntegerOne) { ExpectTitle(Ask(IntegerRequest(1))); }

TEST_F(ManagerInfo, AnswersTitleForNumberOne) { ExpectTitle(Ask(NumberRequest(1.0))); }

TEST_F(ManagerInfo, AnswersValueErrorToEveryOtherRequest) {
  static const char countedOne[] = {1, '1'};
  const struct {
    const char* what;
    XLOPER request;
  } cases[] = {
      {"integer 0", IntegerRequest(0)},
      {"integer 2", IntegerRequest(2)},
      {"integer -1", IntegerRequest(-1)},
      {"integer 1 with the XLFree bit", IntegerRequest(1, xltypeInt | xlbitXLFree)},
      {"integer 1 with the DLLFree bit", IntegerRequest(1, xltypeInt | xlbitDLLFree)},
      {"number 1.0 with the XLFree bit", NumberRequest(1.0, xltypeNum | xlbitXLFree)},
      {"number 1.5", NumberRequest(1.5)},
      {"number 2.0", NumberRequest(2.0)},
      {"number 0.0", NumberRequest(0.0)},
      {"number just above 1.0", NumberRequest(std::nextafter(1.0, 2.0))},
      {"number NaN", NumberRequest(std::numeric_limits<double>::quiet_NaN())},
      {"text \"1\"", StringRequest(countedOne)},
      {"Boolean TRUE", IntegerRequest(1, xltypeBool)},
      {"missing argument", NumberRequest(0, xltypeMissing)},
      {"empty argument", NumberRequest(0, xltypeNil)},
      {"error value", IntegerRequest(1, xltypeErr)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectValueError(Ask(c.request));
  }
}

// Answers every request, with a sentinel in the shared record beforehand, and
// checks the answer against IsNameRequest; answers the number of titles given.
class ManagerInfoSweep : public ManagerInfo {
 protected:
  int titles = 0;
  int wrong = 0;

  void Check(XLOPER request) {
    LPXLOPER record = sampleFunc();
    std::memset(&record->val, 0xA5, sizeof record->val);
    LPXLOPER answer = Ask(request);
    bool ok = answer == record;
    if (ok && IsNameRequest(request)) {
      ++titles;
      ok = answer->xltype == xltypeStr && CountedText(answer->val.str) == "Tavik Add-In";
    } else if (ok) {
      const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&answer->val);
      ok = answer->xltype == xltypeErr && answer->val.err == xlerrValue;
      for (std::size_t i = 2; i < sizeof answer->val; ++i) ok = ok && bytes[i] == 0xA5;
    }
    if (!ok && ++wrong <= 5) ADD_FAILURE() << "wrong answer to type word " << request.xltype;
  }
};

TEST_F(ManagerInfoSweep, EveryTypeWordWithOneGetsTheNameOnlyWhenPlain) {
  for (std::uint32_t type = 0; type <= 0xFFFF; ++type) {
    Check(IntegerRequest(1, static_cast<std::uint16_t>(type)));
    Check(NumberRequest(1.0, static_cast<std::uint16_t>(type)));
  }
  EXPECT_EQ(titles, 2);
  EXPECT_EQ(wrong, 0);
}

TEST_F(ManagerInfoSweep, OnlyTheNumberExactlyOneGetsTheName) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double number : {1.0, std::nextafter(1.0, 2.0), std::nextafter(1.0, 0.0), 0.0, -0.0, 2.0, 1.5, -1.0,
                        std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    Check(NumberRequest(number));
  EXPECT_EQ(titles, 1);
  EXPECT_EQ(wrong, 0);
}

TEST_F(ManagerInfo, AnswersValueErrorToMissingRequestRecord) { ExpectValueError(addIn.addInManagerInfo(nullptr)); }

TEST_F(ManagerInfo, ErrorAnswerWritesOnlyFirstTwoBytesOfValue) {
  LPXLOPER answer = sampleFunc();  // leaves a string pointer in the shared record
  unsigned char before[sizeof answer->val];
  std::memcpy(before, &answer->val, sizeof before);

  ASSERT_EQ(Ask(IntegerRequest(7)), answer);

  unsigned char after[sizeof answer->val];
  std::memcpy(after, &answer->val, sizeof after);
  EXPECT_EQ(after[0], xlerrValue);
  EXPECT_EQ(after[1], 0);
  EXPECT_EQ(std::memcmp(after + 2, before + 2, sizeof after - 2), 0);
}

using WorksheetFunction = QuorrelTest;

TEST_F(WorksheetFunction, AnswersTavikWorldAsCountedStringInReadOnlyData) {
  LPXLOPER answer = sampleFunc();
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer->xltype, xltypeStr);
  ASSERT_EQ(answer->val.str[0], 11);
  EXPECT_EQ(std::memcmp(answer->val.str + 1, "Tavik World", 11), 0);
  // The host may read the text but never write or free it.
  MEMORY_BASIC_INFORMATION memory{};
  ASSERT_NE(VirtualQuery(answer->val.str, &memory, sizeof memory), 0u);
  EXPECT_EQ(memory.Protect & (PAGE_READWRITE | PAGE_EXECUTE_READWRITE | PAGE_WRITECOPY), 0u);
}

TEST_F(WorksheetFunction, AnswersThroughTheManagerInfoRecordAfterAnError) {
  XLOPER request = NumberRequest(2.0);
  LPXLOPER error = addIn.addInManagerInfo(&request);
  LPXLOPER answer = sampleFunc();
  EXPECT_EQ(answer, error);
  EXPECT_EQ(answer->xltype, xltypeStr);
  EXPECT_EQ(CountedText(answer->val.str), "Tavik World");
}

}  // namespace
