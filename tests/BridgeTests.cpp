// The road from the add-in into the host: the two call forms over Excel4v and
// the hand-over of the host's Excel12 entry. Built twice: for a host whose
// executable exports MdCallBack12 and for one whose executable does not.
#include <optional>
#include <vector>

#include "ImportPatch.h"
#include "TestHost.h"
#include "XLUtils.h"

namespace {

const xllhost::HostCall& LastCall() { return xllhost::Calls().back(); }

// The test calls the host as an add-in's entry would.
class CallForms : public ::testing::Test {
 protected:
  void SetUp() override {
    xllhost::ResetHost();  // a fresh host, which has passed control to no one
    control.emplace();
  }
  void TearDown() override {
    for (const std::string& fault : xllhost::Faults()) ADD_FAILURE() << fault;
  }
  std::optional<xllhost::PassedControl> control;
};

TEST_F(CallForms, CallExcel4HandsTheHostTheListInOrderWithItsCount) {
  XLOPER a{}, b{}, c{}, d{};
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<4>, &a, &b, &c, &d), xlretSuccess);
  ASSERT_EQ(xllhost::Calls().size(), 1u);
  EXPECT_EQ(LastCall().xlfn, xlFree);
  EXPECT_EQ(LastCall().count, 4);
  EXPECT_EQ(LastCall().records, (std::vector<const void*>{&a, &b, &c, &d}));
  EXPECT_FALSE(LastCall().hadResult);
}

TEST_F(CallForms, CallExcel4WithEmptyListHandsTheHostNoArray) {
  XLOPER name{};
  EXPECT_EQ(CallExcel4(xlGetName, &name, Count<0>), xlretSuccess);
  EXPECT_TRUE(LastCall().arrayWasNull);
  EXPECT_EQ(LastCall().count, 0);
  EXPECT_EQ(LastCall().resultRecord, &name);
  CallExcel4(xlFree, nullptr, Count<1>, &name);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
}

TEST_F(CallForms, CallExcel4vHandsTheHostExactlyItsFourArguments) {
  XLOPER name{};
  EXPECT_EQ(CallExcel4v(xlGetName, &name, 0, nullptr), xlretSuccess);
  EXPECT_EQ(LastCall().xlfn, xlGetName);
  EXPECT_EQ(LastCall().count, 0);
  EXPECT_TRUE(LastCall().arrayWasNull);
  EXPECT_EQ(LastCall().resultRecord, &name);
  // The host answers the path of the calling module: this program.
  ASSERT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(CountedText(name.val.str), BesideThisProgram(HOST_PROGRAM_NAME));
  LPXLOPER records[] = {&name};
  CallExcel4v(xlFree, nullptr, 1, records);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), 0);
}

TEST_F(CallForms, ReturnTheHostsCodeUnchanged) {
  XLOPER boolean = xllhost::IntegerRequest(1, xltypeBool);
  XLOPER id{};
  id.val.num = 1;
  id.xltype = xltypeNum;
  LPXLOPER noRecords[] = {nullptr};

  xllhost::Behaviour& behaviour = xllhost::Behave();
  EXPECT_EQ(CallExcel4v(9999, nullptr, 0, nullptr), xlretInvXlfn);  // 1807 with xlIntl: no function
  EXPECT_EQ(CallExcel4(xlfUnregister, nullptr, Count<2>, &id, &id), xlretInvCount);
  EXPECT_EQ(CallExcel4v(xlfUnregister, nullptr, 1, nullptr), xlretInvCount);
  EXPECT_EQ(CallExcel4v(xlfUnregister, nullptr, 1, noRecords), xlretInvXloper);
  EXPECT_EQ(CallExcel4(xlfUnregister, nullptr, Count<1>, &boolean), xlretInvXloper);
  behaviour.failing.insert(xlfUnregister);
  XLOPER result{};
  EXPECT_EQ(CallExcel4(xlfUnregister, &result, Count<1>, &id), xlretFailed);
  EXPECT_EQ(result.xltype, xltypeErr);
  EXPECT_EQ(result.val.err, xlerrValue);
}

// SetExcel12EntryPt as the host layer implements it, with its state in view.
class Excel12Handover : public ::testing::Test {
 protected:
  void SetUp() override { InitializeXLCall(); }
  FARPROC Given(int n) { return reinterpret_cast<FARPROC>(static_cast<INT_PTR>(0x1000 * n)); }
};

TEST_F(Excel12Handover, StartsWithNothingKnown) {
  EXPECT_EQ(HostModule, nullptr);
  EXPECT_EQ(Excel12Entry, nullptr);
}

#if HOST_EXPORTS_MDCALLBACK12
TEST_F(Excel12Handover, FirstCallPrefersTheHostsMdCallBack12) {
  SetExcel12EntryPt(Given(1));
  EXPECT_EQ(HostModule, GetModuleHandleA(nullptr));
  ASSERT_NE(xllhost::ExportedMdCallBack12(), nullptr);
  EXPECT_EQ(Excel12Entry, xllhost::ExportedMdCallBack12());
}

TEST_F(Excel12Handover, LaterCallsKeepTheHostsMdCallBack12) {
  SetExcel12EntryPt(Given(1));
  SetExcel12EntryPt(Given(2));
  EXPECT_EQ(Excel12Entry, xllhost::ExportedMdCallBack12());
}
#else
TEST_F(Excel12Handover, FirstCallFallsBackToTheAddressHandedIn) {
  SetExcel12EntryPt(Given(1));
  EXPECT_EQ(HostModule, GetModuleHandleA(nullptr));
  EXPECT_EQ(Excel12Entry, Given(1));
}

TEST_F(Excel12Handover, LaterCallTakesTheNewAddressWhenTheLookupFindsNothing) {
  SetExcel12EntryPt(Given(1));
  SetExcel12EntryPt(Given(2));
  EXPECT_EQ(Excel12Entry, Given(2));
}
#endif

// The real add-in, watched through its imports of the two lookups: which
// module it asks for MdCallBack12, and what it makes of the answer.
struct Lookups {
  bool askedModule = false;
  const char* moduleName = "not asked";
  HMODULE procAddressModule = nullptr;
  std::string procAddressName;
};
Lookups Seen;

HMODULE WINAPI WatchedGetModuleHandleA(LPCSTR name) {
  Seen.askedModule = true;
  Seen.moduleName = name;
  return GetModuleHandleA(name);
}

FARPROC WINAPI WatchedGetProcAddress(HMODULE module, LPCSTR name) {
  Seen.procAddressModule = module;
  Seen.procAddressName = name;
  return GetProcAddress(module, name);
}

class AddInExcel12Handover : public QuorrelTest {
 protected:
  void SetUp() override {
    QuorrelTest::SetUp();
    ASSERT_NE(xllhost::PatchImport(addIn.module, "KERNEL32.dll", "GetModuleHandleA",
                                   reinterpret_cast<void*>(&WatchedGetModuleHandleA)),
              nullptr);
    ASSERT_NE(xllhost::PatchImport(addIn.module, "KERNEL32.dll", "GetProcAddress",
                                   reinterpret_cast<void*>(&WatchedGetProcAddress)),
              nullptr);
    Seen = Lookups{};
  }
};

TEST_F(AddInExcel12Handover, AsksTheHostExecutableForMdCallBack12AndCallsNoHostFunction) {
  addIn.setExcel12EntryPt(xllhost::HostExcel12Entry());
  EXPECT_TRUE(Seen.askedModule);
  EXPECT_EQ(Seen.moduleName, nullptr) << "the process's executable is the module of a null name";
  EXPECT_EQ(Seen.procAddressModule, GetModuleHandleA(nullptr));
  EXPECT_EQ(Seen.procAddressName, "MdCallBack12");
  EXPECT_TRUE(xllhost::Calls().empty()) << "the hand-over makes no host call";
}

TEST_F(AddInExcel12Handover, AsksAgainOnEachLaterHandOverWithTheModuleItFoundFirst) {
  addIn.setExcel12EntryPt(xllhost::HostExcel12Entry());
  Seen = Lookups{};
  addIn.setExcel12EntryPt(xllhost::HostExcel12Entry());
  EXPECT_EQ(Seen.procAddressModule, GetModuleHandleA(nullptr));
  EXPECT_EQ(Seen.procAddressName, "MdCallBack12");
}

}  // namespace
