#include "functions/Workspace.h"

#include <cmath>
#include <cstdio>

#include "functions/Information.h"
#include "functions/Registrations.h"

namespace xllhost {
namespace {

// The international settings (GET.WORKSPACE type 37), as an English (US)
// Excel under Windows' English (United States) settings answers them, in
// the order Excel's help on GET.WORKSPACE lists them.
Value InternationalSettings() {
  Value settings;
  settings.xltype = xltypeMulti;
  settings.rows = 1;
  auto text = [&](const char* item) { settings.elements.push_back(TextValue(item)); };
  auto number = [&](double item) { settings.elements.push_back(NumberValue(item)); };
  auto boolean = [&](bool item) { settings.elements.push_back(BooleanValue(item)); };
  number(1);  // the country of this Excel: the United States
  number(1);  // the country of Windows' settings
  for (const char* item : {".", ",", ",", "R", "C", "r", "c", "[", "]", "{", "}", ",", ";", "@", "/", ":", "y", "m",
                           "d", "h", "m", "s", "$", "General"})
    text(item);  // separators, reference letters, brackets, date and time symbols, currency, General
  for (double item : {2, 0, 2, 3, 3, 0}) number(item);  // digits, negative currency, name lengths, month-day-year
  for (bool item : {false, false, false, false, true, true, true, true, false, false, true, true, false})
    boolean(item);  // 24-hour, local names, metric, currency spacing and place, minus sign, zeros, 4-digit years...
  settings.columns = static_cast<int>(settings.elements.size());
  return settings;
}

// Type 1: the environment and its version, as Excel writes them.
Value Environment() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExW(&version);
  char text[64];
  std::snprintf(text, sizeof text, "Windows (%d-bit) NT %lu.%02lu", static_cast<int>(sizeof(void*) * 8),
                version.dwMajorVersion, version.dwMinorVersion);
  return TextValue(text);
}

// Type 44: the procedures registered, one row each: the DLL's path, the
// procedure and its type text; #N/A when there are none.
Value RegisteredProcedures() {
  Value rows;
  rows.xltype = xltypeMulti;
  rows.columns = 3;
  for (const Registration* r : Registrations()) {
    for (const std::string& text : {ModulePath(r->module), r->procedure, r->typeText})
      rows.elements.push_back(TextValue(text));
    ++rows.rows;
  }
  return rows.rows == 0 ? ErrorValue(xlerrNA) : rows;
}

}  // namespace

bool InformationType(const Value& value, int* type) {
  // Past any type Excel has, a number stands for none of them (0) rather than overflow.
  if (value.Is(xltypeNum)) *type = std::fabs(value.num) < 1e6 ? static_cast<int>(value.num) : 0;
  else if (value.Is(xltypeInt)) *type = value.integer;
  else return false;
  return true;
}

Answer NotModelled(const char* function, int type) {
  Answer answer = Success(ErrorValue(xlerrNA));
  answer.unusable = "the add-in asked " + std::string(function) + " type " + std::to_string(type) +
                    ", which xllhost does not model; it answered #N/A";
  return answer;
}

Answer GetWorkspace(const Request& request) {
  int type = 0;
  if (request.args.size() != 1) return Fail(xlretInvCount);
  if (!InformationType(request.args[0], &type)) return Fail(xlretInvXloper);
  switch (type) {
    case 1: return Success(Environment());
    case 2: return Success(TextValue("16.0"));  // what Excel 2016 and every later version answers
    case 3: return Success(NumberValue(0));     // no fixed decimal places
    case 4: return Success(BooleanValue(false));  // A1, not R1C1 references
    case 37: return Success(InternationalSettings());
    case 44: return Success(RegisteredProcedures());
    default: return NotModelled("GET.WORKSPACE", type);
  }
}

Answer Message(const Request& request) {
  if (request.args.empty() || request.args.size() > 2) return Fail(xlretInvCount);
  Answer answer = Success(BooleanValue(true));
  const bool shown = request.args[0].Is(xltypeBool) && request.args[0].boolean && request.args.size() == 2;
  answer.note = shown ? "the status bar shows \"" + request.args[1].text + "\"" : "the status bar is given back to Excel";
  return answer;
}

Answer Alert(const Request& request) {
  if (request.args.empty() || request.args.size() > 3) return Fail(xlretInvCount);
  if (!request.args[0].Is(xltypeStr)) return Fail(xlretInvXloper);
  Answer answer = Success(BooleanValue(true));
  answer.note = "Excel shows the alert \"" + request.args[0].text + "\"; the user presses OK";
  return answer;
}

Answer Volatile(const Request& request) {
  if (request.args.size() > 1) return Fail(xlretInvCount);
  return Success(BooleanValue(true));
}

}  // namespace xllhost
