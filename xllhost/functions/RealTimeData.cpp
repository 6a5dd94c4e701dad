#include "functions/RealTimeData.h"

#include <windows.h>

#include <string>

namespace xllhost {
namespace {

// Whether COM knows the program ID: HKEY_CLASSES_ROOT\<progID>\CLSID.
bool IsRegisteredServer(const std::string& progId) {
  HKEY key = nullptr;
  const std::wstring path = ToWide(progId) + L"\\CLSID";
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace

Answer RealTimeData(const Request& request) {
  if (request.args.size() < 3) return Fail(xlretInvCount);
  const Value& progId = request.args[0];
  if (!progId.Is(xltypeStr)) return Success(ErrorValue(xlerrValue));
  const Value& server = request.args[1];
  const bool remote = server.Is(xltypeStr) && !server.text.empty();
  if (!remote && (progId.text.empty() || !IsRegisteredServer(progId.text))) return Success(ErrorValue(xlerrNA));
  return Fail(xlretInvXlfn, "the add-in asked RTD of the server \"" + progId.text + "\"" +
                                (remote ? " on " + server.text : std::string()) +
                                ", which xllhost does not run: it runs no real-time data server");
}

}  // namespace xllhost
