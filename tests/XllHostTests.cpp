// The host emulator's own answers, so that the add-in's tests rest on a host
// that behaves as Excel does for the functions the add-in uses.
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "TestHost.h"
#include "XLUtils.h"
#include "fixtures/Fixture.h"  // records built from texts the test owns

namespace {

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
  EXPECT_EQ(xllhost::OutstandingHostMemory(), outstandingBefore + 1);
  EXPECT_EQ(CallExcel4(xlFree, nullptr, Count<1>, &name), xlretSuccess);
  EXPECT_EQ(name.val.str, nullptr);
  EXPECT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), outstandingBefore);
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
  EXPECT_EQ(xllhost::OutstandingHostMemory(), outstandingBefore);
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
  control.reset();
  Text module(QuorrelPath());
  XLOPER answer{};
  xllhost::WithControl([&] {  // as in an entry of another add-in
    EXPECT_EQ(CallExcel4(xlfUnregister, &answer, Count<1>, &module.record), xlretSuccess);
    EXPECT_NE(GetModuleHandleA(QuorrelPath().c_str()), nullptr) << "its code may still be on the stack";
  });
  EXPECT_EQ(answer.val.xbool, 1);
  EXPECT_TRUE(xllhost::Registrations().empty());
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
  EXPECT_EQ(xllhost::OutstandingHostMemory(), outstandingBefore);
}

TEST(TypeText, AcceptsEachCodeTheHostPassesAndRecordsTheMarkers) {
  const struct {
    const char* text;
    size_t args;
    int resultArgument;
    const char* markers;
  } cases[] = {{"BBB", 2, 0, ""}, {"AHIJLMN", 6, 0, ""}, {"C%C%D%", 2, 0, ""}, {"PRQU!", 3, 0, "!"},
               {"FCF", 2, 2, ""}, {"G%G%", 1, 1, ""},    {"2EN$", 2, 2, "$"},  {">E#&", 1, 1, "#&"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    xllhost::Signature signature;
    std::string why;
    ASSERT_TRUE(xllhost::ParseTypeText(c.text, &signature, &why)) << why;
    EXPECT_EQ(signature.args.size(), c.args);
    EXPECT_EQ(signature.resultArgument, c.resultArgument);
    EXPECT_EQ(signature.markers, c.markers);
  }
}

TEST(TypeText, RefusesWhatItCannotPassNamingTheReason) {
  const struct {
    const char* text;
    const char* why;
  } cases[] = {{"BK", "letter K, which xllhost does not support"},
               {"BO%", "letter O%, which xllhost does not support"},
               {"BZ", "letter Z, which is no type code"},
               {"3BB", "returns argument 3, which is no argument passed by reference"},
               {"1B", "returns argument 1, which is no argument passed by reference"},
               {"FB", "returns F but has no argument of that type"},
               {"B!B", "has B after its markers"},
               {"", "empty"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    xllhost::Signature signature;
    std::string why;
    EXPECT_FALSE(xllhost::ParseTypeText(c.text, &signature, &why));
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
  }
}

TEST_F(XllHost, RegisterRefusesATypeTextItDoesNotKnowWithCodeEight) {
  Text module(QuorrelPath()), proc("SampleFunc"), type("PK"), name("Probe");
  EXPECT_EQ(CallExcel4(xlfRegister, nullptr, Count<4>, &module.record, &proc.record, &type.record, &name.record),
            xlretInvXloper);
  ASSERT_EQ(xllhost::UnusableInput().size(), 1u);
  EXPECT_NE(xllhost::UnusableInput()[0].find("letter K"), std::string::npos);
  EXPECT_TRUE(xllhost::Registrations().empty());
}

TEST_F(XllHost, RefusesARecordWithAnUnknownTypeWordAndAFunctionItDoesNotProvide) {
  XLOPER strange = xllhost::NumberRequest(1, 0x2000);
  EXPECT_EQ(CallExcel4(xlCoerce, nullptr, Count<1>, &strange), xlretInvXloper);
  EXPECT_EQ(CallExcel4(xlSpecial | 3, nullptr, Count<0>), xlretInvXlfn);  // xlSet
  ASSERT_EQ(xllhost::UnusableInput().size(), 2u);
  EXPECT_NE(xllhost::UnusableInput()[0].find("unknown type word 8192"), std::string::npos);
  EXPECT_NE(xllhost::UnusableInput()[1].find("not provided by xllhost"), std::string::npos);
}

// Through Excel12v, as an add-in calls it: wide strings handed out are
// counted until given back, and given back once.
TEST_F(XllHost, Excel12HandsOutWideCountedStringsThatFreeGivesBackOnce) {
  XLOPER12 name{};
  ASSERT_EQ(xllhost::HostExcel12(xlGetName, 0, nullptr, &name), xlretSuccess);
  ASSERT_EQ(name.xltype, xltypeStr);
  EXPECT_EQ(xllhost::CountedText(name.val.str), BesideThisProgram(HOST_PROGRAM_NAME));
  EXPECT_EQ(xllhost::OutstandingHostMemory(), outstandingBefore + 1);
  XLOPER12 copy = name;
  LPXLOPER12 records[] = {&name};
  EXPECT_EQ(xllhost::HostExcel12(xlFree, 1, records, nullptr), xlretSuccess);
  EXPECT_EQ(xllhost::OutstandingHostMemory(), outstandingBefore);
  records[0] = &copy;
  xllhost::HostExcel12(xlFree, 1, records, nullptr);
  ASSERT_EQ(xllhost::Faults().size(), 1u);
  EXPECT_NE(xllhost::Faults()[0].find("twice"), std::string::npos);
  xllhost::Reset();  // the fault was the point of this test
}

TEST_F(XllHost, EvaluateCalculatesWhatACellWouldAndFailsOnWhatItCannotRead) {
  Register("SampleFunc", "Probe");
  const struct {
    const char* text;
    int code;
    const char* shows;
  } cases[] = {{"Probe()", xlretSuccess, "Tavik World"},
               {"=2.5", xlretSuccess, "2.5"},
               {"=Nothing()", xlretSuccess, "#NAME?"},
               {"=1+", xlretFailed, "#VALUE!"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Text text(c.text);
    XLOPER result{};
    EXPECT_EQ(CallExcel4(xlfEvaluate, &result, Count<1>, &text.record), c.code);
    EXPECT_EQ(xllhost::Display(xllhost::Capture(result)), c.shows);
    CallExcel4(xlFree, nullptr, Count<1>, &result);
  }
}

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
