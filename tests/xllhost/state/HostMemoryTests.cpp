// Host memory: what the host hands out, xlFree, and answers it releases.
#include <thread>

#include "XllHostTest.h"

namespace {

TEST_F(XllHost, FreeReleasesTheStringClearsThePointerAndKeepsTheType) {
  XLOPER name{};
  ASSERT_EQ(CallExcel4(xlGetName, &name, Count<0>), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 1);
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<1>, &name), xlretSuccess);
  EXPECT_EQ(name.val.str, nullptr);
  EXPECT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<1>, &name), xlretSuccess) << "freeing again is harmless";
}

TEST_F(XllHost, FreeReportsAStringGivenBackTwiceOrNeverHandedOut) {
  xllhost::Behave().freeClearsPointer = false;
  XLOPER name{};
  CallExcel4(xlGetName, &name, Count<0>);
  CallExcel4(xlFree, nullptr, Count<1>, &name);
  CallExcel4(xlFree, nullptr, Count<1>, &name);
  Text own("mine");
  CallExcel4(xlFree, nullptr, Count<1>, &own.record);
  ExpectFaults({"twice", "never handed out"});
}

// Each thread's host memory is its own: cells run on several at once.
TEST_F(XllHost, FreeOnAnotherThreadThanTheOneThatHandedItOutIsAFault) {
  XLOPER name{};
  std::thread([&] {
    xllhost::PassedControl control;
    CallExcel4(xlGetName, &name, Count<0>);
  }).join();
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<1>, &name), xlretSuccess);
  ExpectFaults({"gives back on one thread host memory handed out on another"});
}

TEST_F(XllHost, NameNobodyReceivesIsNotLeftOutstanding) {
  EXPECT_EQ(CallExcel4(xlGetName, nullptr, Count<0>), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
}

// A worksheet function of this test program that answers the host's own
// string, marked for the host to release.
XLOPER HostName;
extern "C" __declspec(dllexport) LPXLOPER WINAPI AnswerHostName() {
  CallExcel4(xlGetName, &HostName, Count<0>);
  HostName.xltype |= xlbitXLFree;
  return &HostName;
}

TEST_F(XllHost, ReleasesWhatAnAnswerMarkedXLFreeHolds) {
  Text module = PathText(BesideThisProgram(HOST_PROGRAM_NAME)), proc("AnswerHostName"), type("P"), name("HostName");
  ASSERT_EQ(CallExcel4(xlfRegister, nullptr, Count<4>, &module.record, &proc.record, &type.record, &name.record),
            xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=HostName()")), BesideThisProgram(HOST_PROGRAM_NAME));
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
}

// Through Excel12v, as an add-in calls it: wide strings handed out are
// counted until given back, and given back once.
TEST_F(XllHost, Excel12HandsOutWideCountedStringsThatFreeGivesBackOnce) {
  XLOPER12 name{};
  ASSERT_EQ(xllhost::HostExcel12(xlGetName, 0, nullptr, &name), xlretSuccess);
  ASSERT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(xllhost::CountedText(name.val.str), BesideThisProgram(HOST_PROGRAM_NAME));
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 1);
  XLOPER12 copy = name;
  LPXLOPER12 records[] = {&name};
  EXPECT_EQ(xllhost::HostExcel12(xlFree, 1, records, nullptr), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
  records[0] = &copy;
  xllhost::HostExcel12(xlFree, 1, records, nullptr);
  ExpectFaults({"twice"});
}

}  // namespace
