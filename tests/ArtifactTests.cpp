// Quorrel.xll as Windows and Excel see it: its exports at run time and its
// image file.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "LinkMap.h"
#include "TestHost.h"
#include "readers/PeImage.h"

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
  static void SetUpTestSuite() {
    std::ifstream file(std::filesystem::u8path(QuorrelPath()), std::ios::binary);
    Damage = xllhost::ReadPeImage(std::string(std::istreambuf_iterator<char>(file), {}), &Image);
  }
  void SetUp() override { ASSERT_EQ(Damage, "") << QuorrelPath(); }
  static xllhost::PeImage Image;
  static std::string Damage;
};
xllhost::PeImage ArtifactFile::Image;
std::string ArtifactFile::Damage;

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

// Windows finds an entry by ordinal in the table's slot ordinal - base. The
// five entries must fill the slots of ordinals 1 to 5 and no other slot may
// hold one, so a shifted base cannot hide a missing ordinal 1. (GNU ld writes
// base 1; lld 14 writes base 0 and leaves the slot of ordinal 0 empty.)
TEST_F(ArtifactFile, ExportTableHoldsTheFiveEntriesAtOrdinalsOneToFiveAndNothingElse) {
  ASSERT_LE(Image.exportBase, 1u);
  for (std::uint32_t slot = 0; slot < Image.exportSlots.size(); ++slot) {
    const std::uint32_t ordinal = Image.exportBase + slot;
    EXPECT_EQ(Image.exportSlots[slot] != 0, ordinal >= 1 && ordinal <= 5) << "ordinal " << ordinal;
  }
  EXPECT_EQ(Image.exportBase + Image.exportSlots.size(), 6u) << "the table must end at ordinal 5";
}

TEST_F(ArtifactFile, ExportsExactlyTheFiveEntriesUndecoratedAtTheirOrdinals) {
  std::map<std::string, std::uint32_t> expected;
  for (const ExportedEntry& entry : Entries) expected[entry.name] = entry.ordinal;
  EXPECT_EQ(Image.exportOrdinals, expected);
}

// Every import is a dependency on a user's machine: the list is exact.
TEST_F(ArtifactFile, ImportsExactlyExcel4vAndTheTwoLookups) {
  std::map<std::string, std::vector<std::string>> imports;
  for (const auto& [name, functions] : Image.imports) {
    std::string dll = name;
    std::transform(dll.begin(), dll.end(), dll.begin(), ::tolower);
    imports[dll] = functions;
    std::sort(imports[dll].begin(), imports[dll].end());
  }
  const std::map<std::string, std::vector<std::string>> expected = {
      {"xlcall32.dll", {"Excel4v"}},
      {"kernel32.dll", {"GetModuleHandleA", "GetProcAddress"}},
  };
  EXPECT_EQ(imports, expected);
}

// A user's Windows has the system's own DLLs and nothing of the compiler's.
// The import table is not the whole story: a DLL loaded on first use is
// named only in the delay-import table, and a DLL's name alone does not say
// that Windows has it. Every DLL the add-in needs is either Excel's own
// xlcall32.dll or one in Windows' system folder.
TEST_F(ArtifactFile, NeedsNoDllBesideExcelsAndTheSystemsOwn) {
  EXPECT_EQ(Image.delayImportSize, 0u) << "loads a DLL on first use";
  char system[MAX_PATH];
  ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
  for (const auto& dll : Image.imports) {
    std::string name = dll.first;
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    if (name == "xlcall32.dll") continue;
    EXPECT_NE(GetFileAttributesA((std::string(system) + "\\" + name).c_str()), INVALID_FILE_ATTRIBUTES)
        << name << " is not in Windows' system folder";
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

// The add-in links without the C runtime, so nothing would run a constructor
// or set up thread-local storage: the image must need neither.
TEST_F(ArtifactFile, HasNoSectionThatNeedsTheRuntimesStartUp) {
  EXPECT_EQ(Image.tlsDirectorySize, 0u) << "a TLS directory";
  std::vector<std::string> unexpected = {".tls", ".CRT", ".ctors", ".dtors", ".init_ar", ".fini_ar"};
#ifndef _WIN64
  unexpected.push_back(".eh_fram");  // 32-bit Windows never reads DWARF unwind tables
#endif
  for (const std::string& section : Image.sections)
    EXPECT_EQ(std::count(unexpected.begin(), unexpected.end(), section), 0) << "section " << section;
}

// A constructor table is merged into .text, where only the link map still
// shows it: every input section of those kinds must be empty.
TEST(LinkMap, ShowsNoConstructorOrThreadLocalDataInTheAddIn) {
  std::ifstream map(std::filesystem::u8path(BesideThisProgram("Quorrel.map")));
  ASSERT_TRUE(map) << "no Quorrel.map beside the test";
  LinkMapReading reading = ReadLinkMap(map);
  EXPECT_GT(reading.inputSections, 0) << "the map lists no input section: its format changed";
  for (const std::string& line : reading.offending) ADD_FAILURE() << line << " needs the C runtime's start-up";
}

// The reader itself, on both formats, with a constructor and without one.
TEST(LinkMap, ReadsGnuAndLldMapsAndFindsAConstructor) {
  const struct {
    const char* map;
    int inputSections;
    size_t offending;
  } cases[] = {
      {" .text          0x10001000       0x40 Quorrel.cpp.obj\n .ctors         0x10001040        0x0 Quorrel.cpp.obj\n", 2, 0},
      {" .ctors         0x10001040        0x4 ctor.obj\n", 1, 1},
      {" .init_array.00100\n                0x10002000        0x4 ctor.obj\n", 1, 1},
      {"00001000 00000019    16         Quorrel.cpp.obj:(.text)\n00001020 00000000     0                 _SampleFunc@0\n", 1, 0},
      {"00004000 00000004     4         ctor.obj:(.CRT$XCU)\r\n", 1, 1},
      {"00005000 00000008     4         tls.obj:(.tls$)\n", 1, 1},
  };
  for (const auto& c : cases) {
    std::istringstream map(c.map);
    LinkMapReading reading = ReadLinkMap(map);
    EXPECT_EQ(reading.inputSections, c.inputSections) << c.map;
    EXPECT_EQ(reading.offending.size(), c.offending) << c.map;
  }
}

// What Windows shows in the file's Properties: which build and which version.
TEST_F(ArtifactFile, CarriesTheVersionAndNamesItsWidth) {
  std::vector<char> info(GetFileVersionInfoSizeW(xllhost::ToWide(QuorrelPath()).c_str(), nullptr));
  ASSERT_FALSE(info.empty()) << "no version resource";
  ASSERT_TRUE(
      GetFileVersionInfoW(xllhost::ToWide(QuorrelPath()).c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  auto value = [&](const std::string& name) {
    char* text = nullptr;
    UINT length = 0;
    std::string path = "\\StringFileInfo\\040904B0\\" + name;
    return VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ? std::string(text)
                                                                                              : "<none>";
  };
  const std::string bits = sizeof(void*) == 8 ? "64" : "32";
  EXPECT_EQ(value("FileDescription"), "Tavik Add-In for Excel (" + bits + "-bit)");
  EXPECT_EQ(value("ProductName"), "Tavik Add-In");
  EXPECT_EQ(value("FileVersion"), QUORREL_VERSION);
  EXPECT_EQ(value("ProductVersion"), QUORREL_VERSION);
  EXPECT_EQ(value("OriginalFilename"), "Quorrel" + bits + ".xll");
}

}  // namespace
