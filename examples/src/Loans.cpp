// Loans.xll: a small XLL add-in of loan arithmetic, built against xllhost's
// declarations and tested in xllhost. Its worksheet functions:
//   =LoanPayment(rate, periods, principal)  the payment per period
//   =FutureValue(rate, periods, payment)    what regular payments grow to
//   =RunningTotal(range)                    each cell's running total, as an array
//   =RiskBand(rate)                         "low", "medium" or "high"
// Every function keeps no state between calls, so each is registered
// thread-safe ($).
#include <xllhost/XllApi.h>

#include <cmath>
#include <cwchar>
#include <string>

namespace {

// A wide counted string for the host: element 0 holds the length.
struct WideText {
  explicit WideText(const wchar_t* text) : counted(1, static_cast<wchar_t>(std::wcslen(text))) {
    counted += text;
    record.val.str = &counted[0];
    record.xltype = xltypeStr;
  }
  std::wstring counted;
  XLOPER12 record{};
};

struct Function {
  const wchar_t* procedure;  // the export below
  const wchar_t* typeText;
  const wchar_t* name;       // as worksheets call it
  const wchar_t* arguments;  // as the Function Wizard shows them
};

const Function Functions[] = {
    {L"LoanPayment", L"BBBB$", L"LoanPayment", L"rate,periods,principal"},
    {L"FutureValue", L"BBBB$", L"FutureValue", L"rate,periods,payment"},
    {L"RunningTotal", L"QQ$", L"RunningTotal", L"range"},
    {L"RiskBand", L"C%B$", L"RiskBand", L"rate"},
};

// The ids xlfRegister answered, which xlfUnregister takes back.
double RegisterIds[sizeof Functions / sizeof Functions[0]];

XLOPER12 Number(double value) {
  XLOPER12 record{};
  record.val.num = value;
  record.xltype = xltypeNum;
  return record;
}

XLOPER12 Error(int code) {
  XLOPER12 record{};
  record.val.err = code;
  record.xltype = xltypeErr;
  return record;
}

}  // namespace

extern "C" {

int WINAPI xlAutoOpen() {
  XLOPER12 dll{};
  if (Excel12(xlGetName, &dll, 0) != xlretSuccess) return 0;
  int index = 0;
  for (const Function& f : Functions) {
    WideText procedure(f.procedure), type(f.typeText), name(f.name), arguments(f.arguments);
    XLOPER12 macroType = Number(1);  // a worksheet function
    WideText category(L"Loans");
    XLOPER12 id{};
    Excel12(xlfRegister, &id, 7, &dll, &procedure.record, &type.record, &name.record, &arguments.record,
            &macroType, &category.record);
    RegisterIds[index++] = id.xltype == xltypeNum ? id.val.num : 0;
  }
  Excel12(xlFree, nullptr, 1, &dll);
  return 1;
}

// When the user removes the add-in, its names are deleted and its
// registrations taken back; unregistering alone would leave the names.
int WINAPI xlAutoRemove() {
  int index = 0;
  for (const Function& f : Functions) {
    WideText name(f.name);
    Excel12(xlfSetName, nullptr, 1, &name.record);
    XLOPER12 id = Number(RegisterIds[index++]);
    if (id.val.num != 0) Excel12(xlfUnregister, nullptr, 1, &id);
  }
  return 1;
}

LPXLOPER12 WINAPI xlAddInManagerInfo12(LPXLOPER12 request) {
  static WideText title(L"Loans (xllhost example)");
  static XLOPER12 refused = Error(xlerrValue);
  bool asksName = request != nullptr && ((request->xltype == xltypeNum && request->val.num == 1) ||
                                         (request->xltype == xltypeInt && request->val.w == 1));
  return asksName ? &title.record : &refused;
}

// Excel shows #NUM! for a result that is not a finite number.
double WINAPI LoanPayment(double rate, double periods, double principal) {
  if (periods <= 0 || rate <= -1) return NAN;
  if (rate == 0) return principal / periods;
  return principal * rate / (1 - std::pow(1 + rate, -periods));
}

double WINAPI FutureValue(double rate, double periods, double payment) {
  if (periods < 0 || rate <= -1) return NAN;
  if (rate == 0) return payment * periods;
  return payment * (std::pow(1 + rate, periods) - 1) / rate;
}

// The array is the add-in's (xlbitDLLFree): Excel hands it back to
// xlAutoFree12 once it has copied the values.
LPXLOPER12 WINAPI RunningTotal(LPXLOPER12 values) {
  int rows = 1, columns = 1;
  const XLOPER12* cells = values;
  if (values->xltype == xltypeMulti) {
    rows = values->val.array.rows;
    columns = values->val.array.columns;
    cells = values->val.array.lparray;
  }
  auto* answer = new XLOPER12;
  answer->val.array.lparray = new XLOPER12[static_cast<size_t>(rows) * columns];
  answer->val.array.rows = rows;
  answer->val.array.columns = columns;
  answer->xltype = xltypeMulti | xlbitDLLFree;
  double total = 0;
  bool numbers = true;  // a cell that is no number makes it and every later total #VALUE!
  for (int i = 0; i < rows * columns; ++i) {
    numbers = numbers && cells[i].xltype == xltypeNum;
    if (numbers) total += cells[i].val.num;
    answer->val.array.lparray[i] = numbers ? Number(total) : Error(xlerrValue);
  }
  return answer;
}

void WINAPI xlAutoFree12(LPXLOPER12 answer) {
  if ((answer->xltype & xltypeMulti) != 0) delete[] answer->val.array.lparray;
  delete answer;
}

// A constant text: safe to hand out from any thread.
const wchar_t* WINAPI RiskBand(double rate) {
  if (rate < 0.03) return L"low";
  if (rate < 0.08) return L"medium";
  return L"high";
}

}  // extern "C"
