// What xllhost does not answer surely, where Microsoft's help leaves Excel's
// answer open or a host's settings decide it, is left not calculated, with
// its reason, never answered with a guess.
#include "EngineTest.h"

namespace {

TEST(Uncalculated, SaysWhyForEachCaseTheHelpLeavesOpen) {
  const xllhost::Workbook book = BookOf("A1 1\nA2 2\nA3 \"x\"\n");
  MemoryHost host;
  const std::pair<const char*, const char*> cases[] = {
      {"=LARGE({1,2,3},1.5)", "LARGE or SMALL of a k that is not a whole number"},
      {"=HOUR(\"5-Jul 6:45 PM\")", "a date or time written in a form xllhost does not read"},
      {"=DATEVALUE(\"5-JUL\")", "DATEVALUE of a form xllhost does not read"},
      {"=TYPE(A1:A2)", "TYPE of a reference to several cells"},
      {"=N({1,2})", "N or T of an array"},
      {"=NPV(0.1,\"x\")", "NPV of an error or of a text that is no number"},
      {"=SEARCH(\"\xC3\xA9\",\"caf\xC3\xA9\")", "SEARCH in a text beyond ASCII"},
      {"=GCD(A1:A3)", "GCD or LCM of a range holding what is no number"},
      {"=ROMAN(499,1)", "ROMAN in a form other than the classic"},
      {"=DAYS360(DATE(2011,1,15),DATE(2011,2,28))", "DAYS360 by the US method from or to a month's last day before the 31st"},
      {"=DATEDIF(1000,2000,\"MD\")", "DATEDIF in days beyond whole months or years"},
      {"=YEARFRAC(DATE(2011,2,28),DATE(2011,5,31))", "YEARFRAC's US 30/360 from or to the end of February"},
      {"=DAYS360(1,100)", "a date before March 1900 in Excel's calendar"},
      {"=XLOOKUP(1,A1:A2,A1:B2)", "XLOOKUP answering several cells, which spill"},
      {"=XMATCH(1,A1:A2,0,2)", "XLOOKUP or XMATCH by binary search"},
      {"=ADDRESS(1,1,1,TRUE,\"My Sheet\")", "ADDRESS of a sheet whose name needs quotes"},
      {"=TEXT(1234,\"[<=99]0;0\")", "TEXT in a format with the code ["},
      {"=TEXT(1/3,\"General\")", "TEXT in a format with General for a number that is not whole"},
      {"=TEXT(-0.4,\"0\")", "TEXT in a format with a negative number shown as 0"},
      {"=TEXT(\"1/2/2020\",\"yyyy\")", "TEXT of a text that may be a date"},
      {"=TEXT(1E300,\"0%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%\")",
       "TEXT in a format with percent signs past what a number holds"},
      {"=EDATE(31,1)", "EDATE or EOMONTH before March 1900"},
      {"=TEXTJOIN({\"-\",\"+\"},TRUE,\"a\",\"b\")", "TEXTJOIN with several delimiters"},
      {"=PROPER(\"\xC3\xA9t\xC3\xA9\")", "PROPER of a character beyond ASCII follows Unicode's case tables"},
  };
  for (const auto& [text, reason] : cases) {
    std::string why;
    EXPECT_EQ(Shown(book, host, text, &why), "#N/A") << text;
    EXPECT_EQ(why, reason) << text;
  }
}

}  // namespace
