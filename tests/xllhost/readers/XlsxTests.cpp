// The native workbook reader: what it writes agrees with openpyxl on every
// workbook the workbook tests make, shared formulas move as copying them
// would, saved numbers are written as the oracle writes them, and a damaged
// or hostile file is one reason, never a crash, a hang or runaway memory.
#include <gtest/gtest.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "readers/SavedNumber.h"
#include "readers/SharedFormula.h"
#include "readers/Xlsx.h"
#include "readers/Zip.h"

namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A zip archive of the parts, in memory, written with libzip.
std::string Zip(const std::vector<std::pair<std::string, std::string>>& parts) {
  const fs::path file = fs::temp_directory_path() / ("xlsx-test-" + std::to_string(std::rand()) + ".zip");
  zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
  for (const auto& [name, bytes] : parts)
    zip_file_add(archive, name.c_str(), zip_source_buffer(archive, bytes.data(), bytes.size(), 0), ZIP_FL_OVERWRITE);
  zip_close(archive);
  std::string bytes = FileText(file);
  fs::remove(file);
  return bytes;
}

const std::string Rels = "<?xml version=\"1.0\"?><Relationships><Relationship Id=\"r1\" Type=\"x/officeDocument\" "
                         "Target=\"xl/workbook.xml\"/></Relationships>";
const std::string BookRels = "<Relationships><Relationship Id=\"s1\" Type=\"x/worksheet\" "
                             "Target=\"worksheets/sheet1.xml\"/></Relationships>";
const std::string Book = "<workbook><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"s1\"/></sheets></workbook>";

// A workbook of one sheet whose part is `sheet`.
std::string OneSheet(const std::string& sheet) {
  return Zip({{"_rels/.rels", Rels}, {"xl/_rels/workbook.xml.rels", BookRels}, {"xl/workbook.xml", Book},
              {"xl/worksheets/sheet1.xml", sheet}});
}

std::pair<bool, std::string> Read(const std::string& bytes, const std::string& name = "Book.xlsx") {
  xllhost::XlsxSource source;
  source.name = name;
  source.bytes = &bytes;
  std::string text, why;
  const bool read = xllhost::ReadXlsx(source, &text, &why);
  return {read, read ? text : why};
}

TEST(XlsxReader, WritesWhatOpenpyxlWritesForEveryTestWorkbook) {
  const fs::path dir = fs::temp_directory_path() / "xlsx-oracle";
  fs::create_directories(dir);
  const std::string python = "/usr/bin/python3 ";
  auto quoted = [](const std::string& path) { return "'" + path + "'"; };  // a checkout's path may hold spaces
  ASSERT_EQ(std::system((python + quoted(XLLHOST_MAKE_WORKBOOKS) + " " + quoted(dir.string())).c_str()), 0);
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".xlsx") continue;
    const fs::path oracle = entry.path().string() + ".openpyxl";
    // openpyxl refuses what it cannot read; such a file is the native reader's to refuse too.
    const bool read = std::system((python + quoted(XLLHOST_OPENPYXL_READER) + " " + quoted(entry.path().string()) +
                                   " " + quoted(oracle.string()) + " 2>/dev/null").c_str()) == 0;
    const auto [native, text] = Read(FileText(entry.path()), entry.path().filename().string());
    EXPECT_EQ(native, read) << entry.path() << ": " << text;
    if (read && native) EXPECT_EQ(text, FileText(oracle)) << entry.path();
    ++compared;
  }
  EXPECT_GE(compared, 5);
  fs::remove_all(dir);
}

TEST(SharedFormula, MovesRelativePartsOfReferencesOnly) {
  const struct {
    const char* formula;
    int rows, columns;
    const char* moved;
  } cases[] = {
      {"_xll.Add(Data!A1,Data!B2)", 1, 0, "_xll.Add(Data!A2,Data!B3)"},
      {"$A$1+A$1+$A1+A1", 2, 3, "$A$1+D$1+$A3+D3"},
      {"SUM(A1:B2)*'My Sheet'!C3", 1, 1, "SUM(B2:C3)*'My Sheet'!D4"},
      {"SUM(A:A,1:1)", 1, 1, "SUM(B:B,2:2)"},
      {"\"A1\"&Rate&LOG10(A1)", 1, 0, "\"A1\"&Rate&LOG10(A2)"},
      {"1.5E+10+TRUE+#REF!", 4, 4, "1.5E+10+TRUE+#REF!"},
      {"[1]Prices!B2  +  A1", 1, 0, "[1]Prices!B3 + A2"},
      {"XFD1+A1", 0, 1, "XFD1+B1"},  // a part that would leave the grid stays
  };
  for (const auto& c : cases) EXPECT_EQ(xllhost::MoveFormula(c.formula, c.rows, c.columns), c.moved) << c.formula;
}

TEST(SavedNumber, IsWrittenAsTheOracleWritesIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"2", "2"},           {"-007", "-7"},         {"-0", "0"},         {"19.14", "19.14"},
      {"1E+20", "1e+20"},   {"0.0001", "0.0001"},   {"1E-5", "1e-05"},   {"1000000000000000.0", "1000000000000000.0"},
      {"1E16", "1e+16"},    {"0.30000000000000004", "0.30000000000000004"}, {"-2.5", "-2.5"},
  };
  for (const auto& [saved, written] : cases) {
    std::string text;
    EXPECT_TRUE(xllhost::WriteSavedNumber(saved, &text)) << saved;
    EXPECT_EQ(text, written) << saved;
  }
  std::string text;
  EXPECT_FALSE(xllhost::WriteSavedNumber("12abc", &text));
}

TEST(XlsxReader, ReadsCellsWithoutReferencesRichTextAndBlocksAsOneLine) {
  const auto [read, text] = Read(OneSheet(
      "<worksheet><sheetData><row r=\"2\"><c><v>1</v></c><c t=\"inlineStr\"><is><r><t>a</t></r><r><t>b</t></r>"
      "<rPh><t>x</t></rPh></is></c></row><row r=\"3\"><c r=\"A3\"><f t=\"array\" ref=\"A3:B4\">F()</f><v>1</v></c>"
      "<c r=\"B3\"><v>2</v></c><c r=\"C3\" t=\"b\"><v>1</v></c></row><row r=\"4\"><c r=\"B4\" t=\"e\"><v>#N/A</v></c>"
      "</row></sheetData></worksheet>"));
  ASSERT_TRUE(read) << text;
  EXPECT_EQ(text, "book Book.xlsx\nsheet S\nA2 1\nB2 \"ab\"\nA3:B4 {=F()} -> {1,2;,#N/A}\nC3 TRUE\n");
}

TEST(XlsxReader, RefusesDamagedAndHostileFilesWithOneReason) {
  const std::string good = OneSheet("<worksheet><sheetData/></worksheet>");
  const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;"
                             "&a;&a;&a;&a;&a;&a;&a;\">]><worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&b;</t>"
                             "</is></c></row></sheetData></worksheet>";
  const struct {
    const char* what;
    std::string bytes;
    const char* said;
  } cases[] = {
      {"no zip", "just text", "Book.xlsx is no workbook: not a zip file"},
      {"cut short", good.substr(0, good.size() / 2), "Book.xlsx is no workbook"},
      {"malformed XML", OneSheet("<worksheet><sheetData><row></sheetData>"), "sheet1.xml: mismatched tag at line 1"},
      {"entities", OneSheet(laughs), "sheet1.xml: it has a document type declaration"},
      {"invalid UTF-8", OneSheet("<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>\xC3\x28</t></is></c></row>"
                                 "</sheetData></worksheet>"),
       "sheet1.xml: not well-formed"},
      {"a cell past the grid", OneSheet("<worksheet><sheetData><row><c r=\"XFE1\"><v>1</v></c></row></sheetData>"
                                        "</worksheet>"),
       "a cell XFE1 outside the grid"},
      {"a block past what xllhost keeps",
       OneSheet("<worksheet><sheetData><row><c r=\"A1\"><f t=\"array\" ref=\"A1:XFD1048576\">F()</f></c></row>"
                "</sheetData></worksheet>"),
       "more than the 1048576 xllhost keeps"},
      {"a relationship pointing nowhere",
       Zip({{"_rels/.rels", Rels}, {"xl/_rels/workbook.xml.rels", BookRels}, {"xl/workbook.xml", Book}}),
       "names xl/worksheets/sheet1.xml, which is not in the file"},
  };
  for (const auto& c : cases) {
    const auto [read, said] = Read(c.bytes);
    EXPECT_FALSE(read) << c.what;
    EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
    EXPECT_EQ(said.find('\n'), std::string::npos) << c.what;
  }
}

TEST(XlsxReader, RefusesAPartThatInflatesPastItsLimit) {
  const std::string zeros(std::size_t{8} << 20, '0');
  const std::string bytes = OneSheet("<worksheet>" + zeros + "</worksheet>");
  EXPECT_LT(bytes.size(), std::size_t{1} << 20) << "a bomb: small packed, large inflated";
  xllhost::ZipArchive zip;
  std::string why;
  ASSERT_TRUE(zip.OpenBytes(bytes, &why)) << why;
  EXPECT_FALSE(zip.Read("xl/worksheets/sheet1.xml", [](const char*, std::size_t) { return true; }, &why, 1 << 20));
  EXPECT_EQ(why, "xl/worksheets/sheet1.xml inflates past 1 MiB");
}

}  // namespace
