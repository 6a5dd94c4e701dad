// What the host tells about itself, and which files it takes for an add-in.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "XllHostTest.h"
#include "functions/BinaryNames.h"

namespace {

TEST_F(XllHost, AnswersAboutItselfAndItsOneSheet) {
  XLOPER abort{}, instance{}, sheet{}, sheetName{};
  EXPECT_EQ(CallExcel4(xlAbort, &abort, Count<0>), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Capture(abort)), "FALSE");
  EXPECT_EQ(CallExcel4(xlGetInst, &instance, Count<0>), xlretSuccess);
  EXPECT_EQ(static_cast<std::uint16_t>(instance.val.w),
            reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)) & 0xFFFF)
      << "the low 16 bits through Excel4";
  EXPECT_EQ(CallExcel4(xlSheetId, &sheet, Count<0>), xlretSuccess);
  EXPECT_EQ(sheet.xltype, xltypeRef);
  EXPECT_EQ(CallExcel4(xlSheetNm, &sheetName, Count<1>, &sheet), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Capture(sheetName)), "[Book1]Sheet1");
  CallExcel4(xlFree, nullptr, Count<1>, &sheetName);
}

// xlDefineBinaryName keeps a copy of the data, xlGetBinaryName gives it
// back through a handle the host owns, and a definition without data
// deletes the name.
TEST_F(XllHost, KeepsBinaryNamesForTheSession) {
  Text name("Settings"), other("SETTINGS");
  char bytes[] = "a\0b\xff";
  XLOPER data{};
  data.xltype = xltypeBigData;
  data.val.bigdata.h.lpbData = reinterpret_cast<std::uint8_t*>(bytes);
  data.val.bigdata.cbData = 4;
  ASSERT_EQ(CallExcel4(xlDefineBinaryName, nullptr, Count<2>, &name.record, &data), xlretSuccess);
  bytes[0] = 'z';  // the host keeps its own copy
  XLOPER got{};
  ASSERT_EQ(CallExcel4(xlGetBinaryName, &got, Count<1>, &other.record), xlretSuccess) << "names ignore case";
  ASSERT_EQ(got.xltype & ~(xlbitXLFree | xlbitDLLFree), xltypeBigData);
  ASSERT_EQ(got.val.bigdata.cbData, 4);
  const void* held = GlobalLock(got.val.bigdata.h.hdata);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(held), 4), std::string("a\0b\xff", 4));
  GlobalUnlock(got.val.bigdata.h.hdata);
  EXPECT_EQ(xllhost::BinaryNames(), (std::vector<std::pair<std::string, size_t>>{{"Settings", 4}}));
  CallExcel4(xlFree, nullptr, Count<1>, &got);

  XLOPER missing{};
  missing.xltype = xltypeMissing;
  ASSERT_EQ(CallExcel4(xlDefineBinaryName, nullptr, Count<2>, &name.record, &missing), xlretSuccess);
  EXPECT_EQ(CallExcel4(xlGetBinaryName, &got, Count<1>, &name.record), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Capture(got)), "#N/A") << "deleted";
  Text bad("1 bad");
  EXPECT_EQ(CallExcel4(xlDefineBinaryName, nullptr, Count<2>, &bad.record, &data), xlretFailed);
  data.val.bigdata.h.lpbData = nullptr;
  EXPECT_EQ(CallExcel4(xlDefineBinaryName, nullptr, Count<2>, &name.record, &data), xlretInvXloper);
  ExpectFaults({"xlDefineBinaryName: argument 2 is binary data that"});
}

TEST(AddInFile, AnXllOfTheOtherWidthIsRefusedWithTheHostToUse) {
  std::ifstream in(std::filesystem::u8path(ProbePath()), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::uint32_t peHeader = *reinterpret_cast<const std::uint32_t*>(&bytes[0x3C]);
#ifdef _WIN64
  const std::uint16_t otherMachine = IMAGE_FILE_MACHINE_I386;
  const char* hostToUse = "32-bit xllhost";
#else
  const std::uint16_t otherMachine = IMAGE_FILE_MACHINE_AMD64;
  const char* hostToUse = "64-bit xllhost";
#endif
  bytes.replace(peHeader + 4, 2, reinterpret_cast<const char*>(&otherMachine), 2);
  const std::string other = BesideThisProgram("other-width.xll");
  std::ofstream(std::filesystem::u8path(other), std::ios::binary) << bytes;
  EXPECT_NE(xllhost::WhyNotAnAddIn(other).find(hostToUse), std::string::npos) << xllhost::WhyNotAnAddIn(other);
  EXPECT_EQ(xllhost::WhyNotAnAddIn(ProbePath()), "");
}

}  // namespace

namespace {

// A crash at an address in an add-in's image after the add-in was unloaded
// is named by that image's path.
TEST_F(XllHost, NamesTheImageOfAnUnloadedAddInByItsAddresses) {
  const void* probe = reinterpret_cast<const void*>(GetProcAddress(addIn.module, "Probe"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(xllhost::ImageNoLongerLoaded(probe), nullptr) << "the add-in is loaded";
  control.reset();
  xllhost::Unload(addIn);
  ASSERT_NE(xllhost::ImageNoLongerLoaded(probe), nullptr);
  EXPECT_EQ(std::string(xllhost::ImageNoLongerLoaded(probe)), ProbePath());
  EXPECT_EQ(xllhost::ImageNoLongerLoaded(reinterpret_cast<const void*>(&GetProcAddress)), nullptr);
}

}  // namespace
