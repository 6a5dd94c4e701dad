// The reports of a workbook's comparison: JUnit XML that is green only when
// the session is clean, each cell a test case, each problem outside a cell
// and each input xllhost could not interpret one more.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "session/Reports.h"
#include "session/Transcript.h"
#include "state/Calls.h"
#include "state/HostPart.h"
#include "workbook/CellsText.h"

namespace {

std::string Written(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Reports, JunitFailsEachDifferingCellAndProblemAndErrsOnWhatWasNotInterpreted) {
  xllhost::ResetHost();
  xllhost::Workbook book;
  std::string why;
  ASSERT_TRUE(xllhost::ReadCells("book Prices.xlsx\nA1 =F() -> 1\nA2 =G() -> 2\nA3 =H() -> 3\n", &book, &why)) << why;
  using xllhost::CellVerdict;
  const std::vector<xllhost::Compared> cells = {
      {&book.Formulas()[0], xllhost::NumberValue(5), CellVerdict::Differs, "the numbers differ"},
      {&book.Formulas()[1], xllhost::Value{}, CellVerdict::NotCalculated, "needs TEXT"},
      {&book.Formulas()[2], xllhost::NumberValue(3), CellVerdict::Same, ""},
  };
  xllhost::SetQuiet(true);
  xllhost::Problem("an entry answered nothing");  // outside any cell
  xllhost::Unusable("a type text xllhost does not know");
  const auto path = std::filesystem::temp_directory_path() / "xllhost-reports-test.xml";
  ASSERT_TRUE(xllhost::WriteJunitReport(path.u8string(), book, cells));
  const std::string junit = Written(path);
  std::filesystem::remove(path);
  xllhost::ResetHost();

  EXPECT_NE(junit.find("<testsuite name=\"Prices.xlsx\" tests=\"5\" failures=\"2\" errors=\"1\" skipped=\"1\">"),
            std::string::npos)
      << junit;
  EXPECT_NE(junit.find("name=\"A1 =F()\">\n    <failure message=\"xllhost got 5; Excel saved 1: the numbers differ\"/>"),
            std::string::npos)
      << junit;
  EXPECT_NE(junit.find("name=\"A3 =H()\"/>"), std::string::npos) << junit;
}

}  // namespace
