// Opening and removing the real Quorrel.xll in the host emulator: the host
// calls it makes, what the worksheet shows, and what it leaves behind.
#include <thread>
#include <vector>

#include "TestHost.h"

namespace {

const xllhost::HostCall& CallTo(int xlfn) {
  for (const xllhost::HostCall& call : xllhost::Calls())
    if (call.xlfn == xlfn) return call;
  static xllhost::HostCall none;  // room for any argument a test looks at
  none.records.resize(8);
  none.args.resize(8);
  ADD_FAILURE() << "no call to " << xllhost::FunctionName(xlfn);
  return none;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

using Lifecycle = QuorrelTest;

TEST_F(Lifecycle, LoadingMakesNoHostCall) { EXPECT_TRUE(xllhost::Calls().empty()); }

TEST_F(Lifecycle, OpenRegistersTavikFncSoTheCellShowsTavikWorld) {
  EXPECT_EQ(xllhost::Open(addIn), 1);
  EXPECT_EQ(xllhost::CallNumbers(), OpenCalls);
  ASSERT_EQ(xllhost::Registrations().size(), 1u);
  const xllhost::Registration& registration = *xllhost::Registrations()[0];
  EXPECT_EQ(registration.module, addIn.module);
  EXPECT_EQ(registration.procedure, "SampleFunc");
  EXPECT_EQ(registration.typeText, "P");
  EXPECT_EQ(registration.functionText, "TavikFnc");
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=TavikFnc()")), "Tavik World");
}

TEST_F(Lifecycle, OpenRegistersWithThePathTheHostGaveAndGivesThatPathBack) {
  xllhost::Open(addIn);
  const xllhost::HostCall& getName = CallTo(xlGetName);
  EXPECT_TRUE(getName.hadResult);
  EXPECT_EQ(getName.result.text, QuorrelPath());

  const xllhost::HostCall& reg = CallTo(xlfRegister);
  ASSERT_EQ(reg.count, 4);
  EXPECT_FALSE(reg.hadResult);
  EXPECT_EQ(reg.records[0], getName.resultRecord);
  EXPECT_EQ(reg.args[0].pointer, getName.result.pointer);
  const char* texts[] = {"SampleFunc", "P", "TavikFnc"};
  for (int i = 1; i < 4; ++i) {
    SCOPED_TRACE(texts[i - 1]);
    EXPECT_EQ(reg.args[i].xltype, xltypeStr);
    EXPECT_EQ(reg.args[i].text, texts[i - 1]);
  }

  const xllhost::HostCall& free = CallTo(xlFree);
  ASSERT_EQ(free.count, 1);
  EXPECT_EQ(free.records[0], getName.resultRecord);
  EXPECT_EQ(free.args[0].pointer, getName.result.pointer);
}

TEST_F(Lifecycle, CountBytesOfTheRegistrationTextsMatchTheirLengths) {
  std::vector<std::string> counted;
  xllhost::OnCall([&](const xllhost::HostCall& call) {
    if (call.xlfn != xlfRegister) return;
    for (int i = 1; i < call.count; ++i) {
      const auto* record = static_cast<const XLOPER*>(call.records[i]);
      counted.emplace_back(record->val.str, record->val.str[0] + 1);
    }
  });
  xllhost::Open(addIn);
  xllhost::OnCall(nullptr);
  EXPECT_EQ(counted,
            (std::vector<std::string>{std::string("\x0A") + "SampleFunc", "\x01P", std::string("\x08") + "TavikFnc"}));
}

TEST_F(Lifecycle, RemoveDeletesTheNameAndDropsTheRegistration) {
  xllhost::Open(addIn);
  xllhost::ClearCalls();
  EXPECT_EQ(xllhost::Remove(addIn), 1);
  EXPECT_EQ(xllhost::CallNumbers(), RemoveCalls);
  EXPECT_EQ(CallTo(xlfRegisterId).count, 3);
  EXPECT_EQ(CallTo(xlfSetName).count, 1);
  EXPECT_EQ(CallTo(xlfSetName).args[0].text, "TavikFnc");
  EXPECT_TRUE(xllhost::Registrations().empty());
  EXPECT_FALSE(xllhost::IsDefinedName("TavikFnc"));
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=TavikFnc()")), "#NAME?");
}

TEST_F(Lifecycle, RemoveUnregistersTheIdTheHostAnswered) {
  xllhost::Open(addIn);
  double registeredId = xllhost::Registrations()[0]->id;
  xllhost::Remove(addIn);
  const xllhost::HostCall& query = CallTo(xlfRegisterId);
  const xllhost::HostCall& unregister = CallTo(xlfUnregister);
  EXPECT_EQ(query.result.xltype, xltypeNum);
  EXPECT_EQ(query.result.num, registeredId);
  EXPECT_EQ(unregister.records[0], query.resultRecord);
  EXPECT_EQ(unregister.args[0].xltype, xltypeNum);
  EXPECT_EQ(unregister.args[0].num, registeredId);
}

TEST_F(Lifecycle, RegisterIdLandsInTheRecordThatSampleFuncReturns) {
  LPXLOPER answer = sampleFunc();
  xllhost::Open(addIn);
  xllhost::Remove(addIn);
  EXPECT_EQ(CallTo(xlfRegisterId).resultRecord, answer);
  EXPECT_EQ(answer->xltype, xltypeNum);
}

TEST_F(Lifecycle, EachStateIsEnteredOnlyOnce) {
  EXPECT_EQ(xllhost::Remove(addIn), 1);
  EXPECT_TRUE(xllhost::Calls().empty()) << "remove before open";
  xllhost::Open(addIn);
  xllhost::ClearCalls();
  EXPECT_EQ(xllhost::Open(addIn), 1);
  EXPECT_TRUE(xllhost::Calls().empty()) << "second open";
  xllhost::Remove(addIn);
  xllhost::ClearCalls();
  EXPECT_EQ(xllhost::Remove(addIn), 1);
  EXPECT_TRUE(xllhost::Calls().empty()) << "second remove";
}

TEST_F(Lifecycle, OpenRemoveOpenRegistersAgain) {
  xllhost::Open(addIn);
  xllhost::Remove(addIn);
  xllhost::Open(addIn);
  EXPECT_EQ(xllhost::CallNumbers(), Concat(Concat(OpenCalls, RemoveCalls), OpenCalls));
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=TavikFnc()")), "Tavik World");
  xllhost::Remove(addIn);
}

TEST_F(Lifecycle, ThreadsComingAndGoingChangeNothing) {
  xllhost::Open(addIn);
  std::thread([] {}).join();
  xllhost::ClearCalls();
  xllhost::Open(addIn);
  EXPECT_TRUE(xllhost::Calls().empty()) << "still registered";
  xllhost::Remove(addIn);
  EXPECT_EQ(xllhost::CallNumbers(), RemoveCalls);
}

TEST_F(Lifecycle, UnloadMakesNoHostCall) {
  xllhost::Open(addIn);
  xllhost::ClearCalls();
  xllhost::Unload(addIn);
  EXPECT_TRUE(xllhost::Calls().empty());
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=TavikFnc()")), "#NAME?") << "the host forgot the module";
}

// Host results are not examined: the flag follows the calls made.
TEST_F(Lifecycle, FailedRegistrationStillCountsAsOpen) {
  xllhost::Behave().failing.insert(xlfRegister);
  EXPECT_EQ(xllhost::Open(addIn), 1);
  EXPECT_EQ(xllhost::CallNumbers(), OpenCalls);
  xllhost::ClearCalls();
  xllhost::Open(addIn);
  EXPECT_TRUE(xllhost::Calls().empty());
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=TavikFnc()")), "#NAME?");
}

// A host may leave a failed call's result record as it was, and may leave a
// released pointer in place: the path given back at open must then neither
// reach the host again nor be given back twice.
TEST_F(Lifecycle, RemoveAfterFailedPathLookupHandsTheHostNoReleasedPath) {
  xllhost::Behaviour& host = xllhost::Behave();
  host.freeClearsPointer = false;
  host.failureWritesValueError = false;
  xllhost::Open(addIn);
  const char* releasedPath = CallTo(xlGetName).result.pointer;
  xllhost::ClearCalls();

  host.failing.insert(xlGetName);
  EXPECT_EQ(xllhost::Remove(addIn), 1);
  EXPECT_EQ(xllhost::CallNumbers(), RemoveCalls);
  EXPECT_NE(CallTo(xlfRegisterId).args[0].pointer, releasedPath);
  EXPECT_NE(CallTo(xlFree).args[0].pointer, releasedPath);
}

// After a cell, the shared record holds "Tavik World"; a text handed to
// xlfUnregister would ask the host to unload a DLL of that name.
TEST_F(Lifecycle, RemoveAfterFailedIdQueryHandsUnregisterNoText) {
  xllhost::Behave().failureWritesValueError = false;
  xllhost::Open(addIn);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=TavikFnc()")), "Tavik World");
  xllhost::Behave().failing.insert(xlfRegisterId);
  xllhost::Remove(addIn);
  EXPECT_EQ(CallTo(xlfUnregister).args[0].xltype, xltypeNil);
}

}  // namespace
