// Quorrel.xll as Windows and Excel see it: its exports at run time and its
// image file.
#include <algorithm>

#include "PeFile.h"
#include "TestHost.h"

namespace {

struct ExportedEntry {
  const char* name;
  unsigned ordinal;
};
constexpr ExportedEntry Entries[] = {
    {"SetExcel12EntryPt", 1}, {"xlAutoRemove", 2}, {"xlAutoOpen", 3}, {"xlAddInManagerInfo", 4}, {"SampleFunc", 5},
};

using Exports = QuorrelTest;

TEST_F(Exports, ByNameAndByOrdinalGiveTheSameEntry) {
  for (const ExportedEntry& entry : Entries) {
    SCOPED_TRACE(entry.name);
    FARPROC byName = GetProcAddress(addIn.module, entry.name);
    EXPECT_NE(byName, nullptr);
    EXPECT_EQ(byName, GetProcAddress(addIn.module, MAKEINTRESOURCEA(entry.ordinal)));
  }
}

TEST_F(Exports, OfferNoEntryForEventsTheAddInDoesNotHandle) {
  for (const char* name : {"xlAutoClose", "xlAutoAdd", "xlAutoFree", "xlAutoFree12", "SampleFunc@0", "_SampleFunc@0"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(GetProcAddress(addIn.module, name), nullptr);
  }
  EXPECT_EQ(GetProcAddress(addIn.module, MAKEINTRESOURCEA(6)), nullptr);
}

class ArtifactFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Image = ReadPeFile(QuorrelPath()); }
  void SetUp() override { ASSERT_TRUE(Image.valid) << QuorrelPath() << " is not a PE image"; }
  static PeFile Image;
};
PeFile ArtifactFile::Image;

TEST_F(ArtifactFile, IsADllForThisTarget) {
  EXPECT_NE(Image.characteristics & IMAGE_FILE_DLL, 0);
#ifdef _WIN64
  EXPECT_EQ(Image.machine, IMAGE_FILE_MACHINE_AMD64);
  EXPECT_TRUE(Image.pe32Plus);
#else
  EXPECT_EQ(Image.machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_FALSE(Image.pe32Plus);
#endif
}

TEST_F(ArtifactFile, ExportDirectoryNamesTheModuleQuorrelXll) { EXPECT_EQ(Image.exportName, "Quorrel.XLL"); }

TEST_F(ArtifactFile, ExportsExactlyTheFiveEntriesUndecoratedAtTheirOrdinals) {
  std::map<std::string, std::uint32_t> expected;
  for (const ExportedEntry& entry : Entries) expected[entry.name] = entry.ordinal;
  EXPECT_EQ(Image.exportOrdinals, expected);
}

TEST_F(ArtifactFile, ImportsExcel4vByNameFromXlcall32Only) {
  auto xlcall = std::find_if(Image.imports.begin(), Image.imports.end(),
                             [](const auto& dll) { return _stricmp(dll.first.c_str(), "xlcall32.dll") == 0; });
  ASSERT_NE(xlcall, Image.imports.end());
  EXPECT_EQ(xlcall->second, std::vector<std::string>{"Excel4v"});
}

// A user's Windows has the system's own DLLs and nothing of the compiler's.
TEST_F(ArtifactFile, ImportsNothingAUsersWindowsLacks) {
  for (const auto& dll : Image.imports) {
    std::string name = dll.first;
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    bool systemDll = name == "kernel32.dll" || name == "msvcrt.dll" || name == "xlcall32.dll" ||
                     name.rfind("api-ms-win-crt-", 0) == 0;
    EXPECT_TRUE(systemDll) << "imports from " << dll.first;
  }
}

TEST_F(ArtifactFile, IsHardened) {
  EXPECT_NE(Image.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, 0) << "no address randomisation";
  EXPECT_EQ(Image.characteristics & IMAGE_FILE_RELOCS_STRIPPED, 0) << "cannot be moved, so cannot be randomised";
  EXPECT_NE(Image.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT, 0) << "data is executable";
#ifdef _WIN64
  EXPECT_NE(Image.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, 0) << "low-entropy addresses";
#else
  EXPECT_NE(Image.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NO_SEH, 0) << "may install SEH handlers";
#endif
}

}  // namespace
