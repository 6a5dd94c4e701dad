// The host emulator's own answers, so that the add-in's tests rest on a host
// that behaves as Excel does for the functions the add-in uses.
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "TestHost.h"
#include "XLUtils.h"

namespace {

// Records built from texts the test owns.
struct Text {
  explicit Text(const std::string& text) : counted(1, static_cast<char>(text.size())) {
    counted += text;
    record.val.str = counted.data();
    record.xltype = xltypeStr;
  }
  std::string counted;
  XLOPER record{};
};

// The test calls the host as an add-in's entry would; a test that hands
// control back to the host resets it.
class XllHost : public QuorrelTest {
 protected:
  std::optional<xllhost::PassedControl> control{std::in_place};

  // Registers Quorrel.xll's SampleFunc under a worksheet name of the test's choice.
  int Register(const std::string& procedure, const std::string& name, XLOPER* result = nullptr) {
    Text module(QuorrelPath()), proc(procedure), type("P"), function(name);
    return CallExcel4(xlfRegister, result, Count<4>, &module.record, &proc.record, &type.record, &function.record);
  }
};

TEST_F(XllHost, FreeReleasesTheStringClearsThePointerAndKeepsTheType) {
  XLOPER name{};
  ASSERT_EQ(CallExcel4(xlGetName, &name, Count<0>), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingStrings(), outstandingBefore + 1);
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<1>, &name), xlretSuccess);
  EXPECT_EQ(name.val.str, nullptr);
  EXPECT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(xllhost::OutstandingStrings(), outstandingBefore);
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
  ASSERT_EQ(xllhost::Faults().size(), 2u);
  EXPECT_NE(xllhost::Faults()[0].find("twice"), std::string::npos);
  EXPECT_NE(xllhost::Faults()[1].find("never handed out"), std::string::npos);
  xllhost::Reset();  // the faults were the point of this test
}

TEST_F(XllHost, NameNobodyReceivesIsNotLeftOutstanding) {
  EXPECT_EQ(CallExcel4(xlGetName, nullptr, Count<0>), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingStrings(), outstandingBefore);
}

TEST_F(XllHost, RegisterAnswersAnIdThatRegisterIdAndUnregisterKnow) {
  XLOPER id{};
  ASSERT_EQ(Register("SampleFunc", "Probe", &id), xlretSuccess);
  ASSERT_EQ(id.xltype, xltypeNum);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=probe()")), "Tavik World") << "names ignore case";

  Text module(QuorrelPath()), proc("SampleFunc");
  XLOPER queried{};
  EXPECT_EQ(CallExcel4(xlfRegisterId, &queried, Count<2>, &module.record, &proc.record), xlretSuccess);
  EXPECT_EQ(queried.val.num, id.val.num);

  XLOPER answer{};
  EXPECT_EQ(CallExcel4(xlfUnregister, &answer, Count<1>, &id), xlretSuccess);
  EXPECT_EQ(answer.xltype, xltypeBool);
  EXPECT_EQ(answer.val.xbool, 1);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Probe()")), "#NAME?") << "name left, registration gone";
  CallExcel4(xlfUnregister, &answer, Count<1>, &id);
  EXPECT_EQ(answer.val.xbool, 0) << "nothing left to drop";
}

TEST_F(XllHost, RegisterRefusesWhatItCannotBind) {
  Text module(QuorrelPath()), otherModule("C:\\nowhere\\Other.xll"), proc("SampleFunc"), missing("NoSuchProc"),
      type("P"), badName("1st"), goodName("Probe");
  XLOPER noOrdinal = xllhost::NumberRequest(99), boolean = xllhost::IntegerRequest(1, xltypeBool);
  const struct {
    const char* what;
    std::vector<LPXLOPER> args;
    int code;
  } cases[] = {
      {"module not loaded", {&otherModule.record, &proc.record, &type.record, &goodName.record}, xlretFailed},
      {"procedure not exported", {&module.record, &missing.record, &type.record, &goodName.record}, xlretFailed},
      {"no export at that ordinal", {&module.record, &noOrdinal, &type.record, &goodName.record}, xlretFailed},
      {"procedure neither text nor number", {&module.record, &boolean, &type.record, &goodName.record}, xlretInvXloper},
      {"not a worksheet name", {&module.record, &proc.record, &type.record, &badName.record}, xlretFailed},
      {"too few arguments", {&module.record, &proc.record}, xlretInvCount},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    XLOPER result{};
    std::vector<LPXLOPER> args = c.args;
    EXPECT_EQ(CallExcel4v(xlfRegister, &result, static_cast<int>(args.size()), args.data()), c.code);
    EXPECT_EQ(result.xltype, xltypeErr);
    EXPECT_EQ(result.val.err, xlerrValue);
  }
  EXPECT_TRUE(xllhost::Registrations().empty());
}

TEST_F(XllHost, SetNameWithAValueDefinesItAndAloneDeletesIt) {
  Text name("Rate");
  XLOPER value = xllhost::NumberRequest(0.25);
  EXPECT_EQ(CallExcel4(xlfSetName, nullptr, Count<2>, &name.record, &value), xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Rate()")), "0.25");
  EXPECT_EQ(CallExcel4(xlfSetName, nullptr, Count<1>, &name.record), xlretSuccess);
  EXPECT_FALSE(xllhost::IsDefinedName("Rate"));
}

TEST_F(XllHost, CellsThatAreNotACallOfAKnownFunctionShowNameError) {
  Register("SampleFunc", "Probe");
  for (const char* formula : {"=Nothing()", "Probe()", "=Probe", "=()", ""}) {
    SCOPED_TRACE(formula);
    EXPECT_EQ(xllhost::Display(xllhost::Evaluate(formula)), "#NAME?");
  }
}

TEST_F(XllHost, FailedCallLeavesValueErrorOrTheRecordAsItWas) {
  xllhost::Behave().failing.insert(xlGetName);
  XLOPER name = xllhost::NumberRequest(3);
  EXPECT_EQ(CallExcel4(xlGetName, &name, Count<0>), xlretFailed);
  EXPECT_EQ(name.xltype, xltypeErr);
  xllhost::Behave().failureWritesValueError = false;
  name = xllhost::NumberRequest(3);
  CallExcel4(xlGetName, &name, Count<0>);
  EXPECT_EQ(name.xltype, xltypeNum);
  EXPECT_EQ(name.val.num, 3);
}

TEST_F(XllHost, RegisterAgainAddsAUseThatUnregisterTakesAway) {
  XLOPER first{}, second{}, answer{};
  Register("SampleFunc", "Probe", &first);
  Register("SampleFunc", "Probe", &second);
  EXPECT_EQ(second.val.num, first.val.num) << "one procedure, one registration";
  for (const char* shows : {"Tavik World", "#NAME?"}) {
    EXPECT_EQ(CallExcel4(xlfUnregister, &answer, Count<1>, &first), xlretSuccess);
    EXPECT_EQ(answer.val.xbool, 1);
    EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Probe()")), shows);
  }
  CallExcel4(xlfUnregister, &answer, Count<1>, &first);
  EXPECT_EQ(answer.val.xbool, 0) << "no use left";
}

TEST_F(XllHost, RegisterAcceptsEachDocumentedArgumentForm) {
  Text module(QuorrelPath()), proc("SampleFunc"), type("P"), name("Probe"), text1("1"), category("Text");
  XLOPER ordinal = xllhost::NumberRequest(5), number1 = xllhost::NumberRequest(1),
         integer1 = xllhost::IntegerRequest(1), missing = xllhost::NumberRequest(0, xltypeMissing),
         nil = xllhost::NumberRequest(0, xltypeNil);
  LPXLOPER m = &module.record, p = &proc.record, t = &type.record, f = &name.record;
  const struct {
    const char* what;
    std::vector<LPXLOPER> args;
  } cases[] = {
      {"procedure by ordinal", {m, &ordinal, t, f}},
      {"macro type a number, category a number", {m, p, t, f, &missing, &number1, &number1}},
      {"macro type an integer, category a name", {m, p, t, f, &nil, &integer1, &category.record}},
      {"macro type as text", {m, p, t, f, &missing, &text1.record}},
      {"optional arguments missing or nil", {m, p, t, f, &missing, &nil, &missing, &nil, &missing}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<LPXLOPER> args = c.args;
    EXPECT_EQ(CallExcel4v(xlfRegister, nullptr, static_cast<int>(args.size()), args.data()), xlretSuccess);
  }
  ASSERT_EQ(xllhost::Registrations().size(), 1u);
  EXPECT_EQ(xllhost::Registrations()[0].uses, 5);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=Probe()")), "Tavik World");
}

TEST_F(XllHost, UnregisterByNameDropsEveryFunctionAndUnloadsTheDllOnceControlReturns) {
  xllhost::Open(addIn);
  Text module(QuorrelPath());
  XLOPER answer{};
  EXPECT_EQ(CallExcel4(xlfUnregister, &answer, Count<1>, &module.record), xlretSuccess);
  EXPECT_EQ(answer.val.xbool, 1);
  EXPECT_TRUE(xllhost::Registrations().empty());
  EXPECT_NE(GetModuleHandleA(QuorrelPath().c_str()), nullptr) << "its code may still be on the stack";
  control.reset();
  EXPECT_EQ(GetModuleHandleA(QuorrelPath().c_str()), nullptr);
}

// Excel accepts calls only while it has passed control to the add-in, and
// only on the thread it called the add-in on.
TEST_F(XllHost, RefusesCallsWhenItHasNotPassedControl) {
  XLOPER name{};
  int fromThread = 0;
  std::thread([&] { fromThread = CallExcel4(xlGetName, &name, Count<0>); }).join();
  control.reset();
  const int outside = CallExcel4(xlGetName, &name, Count<0>);
  xllhost::AddIn callsAtLoad = xllhost::Load(BesideThisProgram("calls_at_load.xll"));
  ASSERT_NE(callsAtLoad.module, nullptr);
  xllhost::Unload(callsAtLoad);

  EXPECT_EQ(fromThread, xlretFailed);
  EXPECT_EQ(outside, xlretFailed);
  const char* const when[] = {"from a thread other than", "outside any entry", "from DllMain"};
  ASSERT_EQ(xllhost::Faults().size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_NE(xllhost::Faults()[i].find(when[i]), std::string::npos) << xllhost::Faults()[i];
  xllhost::Reset();  // the faults were the point of this test
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
  Text module(BesideThisProgram(HOST_PROGRAM_NAME)), proc("AnswerHostName"), type("P"), name("HostName");
  ASSERT_EQ(CallExcel4(xlfRegister, nullptr, Count<4>, &module.record, &proc.record, &type.record, &name.record),
            xlretSuccess);
  EXPECT_EQ(xllhost::Display(xllhost::Evaluate("=HostName()")), BesideThisProgram(HOST_PROGRAM_NAME));
  EXPECT_EQ(xllhost::OutstandingStrings(), outstandingBefore);
}

TEST(AddInFile, AnXllOfTheOtherWidthIsRefusedWithTheHostToUse) {
  std::ifstream in(QuorrelPath(), std::ios::binary);
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
  std::ofstream(other, std::ios::binary) << bytes;
  EXPECT_NE(xllhost::WhyNotAnAddIn(other).find(hostToUse), std::string::npos) << xllhost::WhyNotAnAddIn(other);
  EXPECT_EQ(xllhost::WhyNotAnAddIn(QuorrelPath()), "");
}

}  // namespace
