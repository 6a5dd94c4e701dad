// The text form of cells, as users write it by hand: what each line puts in
// the workbook, and the line named when one cannot be read.
#include <gtest/gtest.h>

#include "workbook/CellsText.h"

namespace {

using xllhost::Workbook;

std::string Shown(const Workbook& book, int sheet, int row, int column) {
  const xllhost::Cell* cell = book.Find(sheet, row, column);
  return cell == nullptr ? "(none)" : xllhost::Display(cell->value);
}

TEST(CellsText, PutsCellsBeforeAnySheetLineOnTheDefaultSheet) {
  Workbook book;
  std::string why;
  ASSERT_TRUE(xllhost::ReadCells("A1 2\nsheet Other\nB2 \"x\"\n", &book, &why)) << why;
  ASSERT_EQ(book.Sheets().size(), 2u);
  EXPECT_EQ(book.Sheets()[0].name, xllhost::DefaultSheet);
  EXPECT_EQ(Shown(book, 0, 0, 0), "2");
  EXPECT_EQ(Shown(book, 1, 1, 1), "x");
}

TEST(CellsText, GivesAWorkbookOfNoCellsTheDefaultSheetAlone) {
  Workbook book;
  std::string why;
  ASSERT_TRUE(xllhost::ReadCells("# nothing but a comment\n\n", &book, &why)) << why;
  ASSERT_EQ(book.Sheets().size(), 1u);
  EXPECT_EQ(book.Sheets()[0].name, xllhost::DefaultSheet);
}

TEST(CellsText, ReadsEscapesAndKeepsAnArrowInsideATextAsText) {
  Workbook book;
  std::string why;
  ASSERT_TRUE(xllhost::ReadCells("A1 \"a\\nb\\\\\"\nA2 =\"x->y\" -> \"x->y\"\n", &book, &why)) << why;
  EXPECT_EQ(Shown(book, 0, 0, 0), "a\nb\\");
  ASSERT_EQ(book.Formulas().size(), 1u);
  EXPECT_EQ(book.Formulas()[0].text, "=\"x->y\"");
  ASSERT_NE(book.Formulas()[0].saved, nullptr);
  EXPECT_EQ(xllhost::Display(*book.Formulas()[0].saved), "x->y");
}

TEST(CellsText, NamesTheLineAndWhatIsWrongWithIt) {
  const struct {
    const char* text;
    const char* why;
  } cases[] = {
      {"A1 1\nA1\n", "line 2: expected a cell such as A1 or a block such as A1:B2"},
      {"\nA1 \"a\\q\"\n", "line 2: a backslash starts no escape"},
      {"A1 1 -> 2\n", "line 1: a constant has no saved value"},
      {"A1 =1 -> =2\n", "line 1: what Excel saved is no constant: =2"},
      {"A1:B2 =1\n", "line 1: a block holds an array formula"},
      {"A1 nonsense\n", "line 1: expected a number, a text in quotes"},
      {"sheet S\nsheet s\n", "line 2: the sheet s is given twice"},
      {"name Rate\n", "line 1: expected: name NAME =FORMULA"},
      {"A1 1\nA1 2\n", "A1"},  // a cell given twice is named
  };
  for (const auto& c : cases) {
    Workbook book;
    std::string why;
    EXPECT_FALSE(xllhost::ReadCells(c.text, &book, &why)) << c.text;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.text << " said: " << why;
  }
}

TEST(CellsText, ReadsACellOptionOntoTheSheetItNames) {
  Workbook book;
  std::string why;
  ASSERT_TRUE(xllhost::ReadCellOption("B3=2", &book, &why)) << why;
  ASSERT_TRUE(xllhost::ReadCellOption("Data!A1==B3*2", &book, &why)) << why;
  ASSERT_TRUE(book.Finish(&why)) << why;
  ASSERT_EQ(book.Sheets().size(), 2u);
  EXPECT_EQ(Shown(book, 0, 2, 1), "2");
  EXPECT_EQ(book.Sheets()[1].name, "Data");
  ASSERT_EQ(book.Formulas().size(), 1u);
  EXPECT_EQ(book.Formulas()[0].text, "=B3*2");
  EXPECT_FALSE(xllhost::ReadCellOption("B3:C4=2", &book, &why));
  EXPECT_NE(why.find("--cell takes a cell"), std::string::npos) << why;
}

}  // namespace
