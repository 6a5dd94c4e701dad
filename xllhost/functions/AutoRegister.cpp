#include "functions/AutoRegister.h"

#include <set>
#include <utility>

#include "functions/Invoke.h"
#include "records/Values.h"
#include "state/Calls.h"

namespace xllhost {

Answer RegisterThroughDll(HMODULE module, const std::string& procedure) {
  static std::set<std::pair<HMODULE, std::string>> asking;  // the procedures xlAutoRegister is registering
  const FARPROC wide = GetProcAddress(module, "xlAutoRegister12");
  const FARPROC narrow = wide != nullptr ? nullptr : GetProcAddress(module, "xlAutoRegister");
  Answer failed = Fail(xlretFailed);
  if (wide == nullptr && narrow == nullptr) {
    failed.note = "the type text is omitted and the add-in exports neither xlAutoRegister12 nor xlAutoRegister: "
                  "the registration fails (xlfregister-form-1.md)";
    return failed;
  }
  const auto key = std::make_pair(module, Upper(procedure));
  if (!asking.insert(key).second) {
    Fault("xlAutoRegister asked again to register " + procedure +
          " without a type text: in Excel the calls recurse until its stack overflows and Excel crashes "
          "(xlautoregister-xlautoregister12.md)");
    return failed;
  }
  Value answer;
  if (wide != nullptr) {
    std::wstring counted(1, static_cast<wchar_t>(procedure.size()));
    counted += ToWide(procedure);
    XLOPER12 request{};
    request.xltype = xltypeStr;
    request.val.str = reinterpret_cast<XCHAR*>(&counted[0]);
    answer = TakeAnswer(module,
                        reinterpret_cast<LPXLOPER12>(CallWithPointer(wide, "xlAutoRegister12", &request)));
  } else {
    std::string counted(1, static_cast<char>(procedure.size()));
    counted += procedure;
    XLOPER request{};
    request.xltype = xltypeStr;
    request.val.str = &counted[0];
    answer = TakeAnswer(module, reinterpret_cast<LPXLOPER>(CallWithPointer(narrow, "xlAutoRegister", &request)));
  }
  asking.erase(key);
  if (!answer.Is(xltypeNum)) return failed;
  Answer registered = Success(answer);
  registered.note = std::string("the type text is omitted: Excel asked the add-in's ") +
                    (wide != nullptr ? "xlAutoRegister12" : "xlAutoRegister") + " to register it";
  return registered;
}

}  // namespace xllhost
