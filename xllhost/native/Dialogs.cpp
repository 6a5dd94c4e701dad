#include "native/Dialogs.h"

#include <windows.h>

#include <cstring>

namespace xllhost {
namespace {

int (*Answer)(const Dialog&) = nullptr;

struct ButtonRow {
  int id;
  const char* name;
};
const ButtonRow Buttons[] = {{IDOK, "OK"},         {IDCANCEL, "Cancel"},     {IDABORT, "Abort"},
                             {IDRETRY, "Retry"},   {IDIGNORE, "Ignore"},     {IDYES, "Yes"},
                             {IDNO, "No"},         {IDTRYAGAIN, "Try Again"}, {IDCONTINUE, "Continue"}};

// The buttons of each MB_ type (the low four bits of the style).
std::vector<int> ButtonsOf(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE: return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default: return {IDOK};
  }
}

std::string Utf8(const wchar_t* text) {
  if (text == nullptr) return "";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(size > 0 ? static_cast<size_t>(size) : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
  utf8.resize(std::strlen(utf8.c_str()));
  return utf8;
}

std::string Utf8(const char* text) {
  if (text == nullptr) return "";
  const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(size > 0 ? static_cast<size_t>(size) : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
  return Utf8(wide.c_str());
}

template <typename Char>
int Caught(const char* api, const Char* text, const Char* title, UINT style) {
  Dialog dialog{api, Utf8(title), Utf8(text), ButtonsOf(style)};
  return Answer != nullptr ? Answer(dialog) : GoOnButton(dialog);
}

int WINAPI BoxA(HWND, LPCSTR text, LPCSTR title, UINT style) { return Caught("MessageBoxA", text, title, style); }
int WINAPI BoxW(HWND, LPCWSTR text, LPCWSTR title, UINT style) { return Caught("MessageBoxW", text, title, style); }
int WINAPI BoxExA(HWND, LPCSTR text, LPCSTR title, UINT style, WORD) {
  return Caught("MessageBoxExA", text, title, style);
}
int WINAPI BoxExW(HWND, LPCWSTR text, LPCWSTR title, UINT style, WORD) {
  return Caught("MessageBoxExW", text, title, style);
}
int WINAPI BoxIndirectA(const MSGBOXPARAMSA* box) {
  return Caught("MessageBoxIndirectA", box->lpszText, box->lpszCaption, box->dwStyle);
}
int WINAPI BoxIndirectW(const MSGBOXPARAMSW* box) {
  return Caught("MessageBoxIndirectW", box->lpszText, box->lpszCaption, box->dwStyle);
}

// Overwrites the entry's first instructions with a jump to `to`: 12 bytes on
// 64-bit (mov rax, to; jmp rax), 5 on 32-bit (jmp rel32). The original is
// never called again, so nothing of it need be kept.
bool Redirect(HMODULE module, const char* name, const void* to) {
  auto* entry = reinterpret_cast<unsigned char*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (entry == nullptr) return false;
#if defined(_WIN64)
  unsigned char jump[12] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
  std::memcpy(jump + 2, &to, sizeof to);
#else
  unsigned char jump[5] = {0xE9};
  const auto relative = reinterpret_cast<intptr_t>(to) - reinterpret_cast<intptr_t>(entry + sizeof jump);
  std::memcpy(jump + 1, &relative, 4);
#endif
  DWORD was = 0;
  if (!VirtualProtect(entry, sizeof jump, PAGE_EXECUTE_READWRITE, &was)) return false;
  std::memcpy(entry, jump, sizeof jump);
  VirtualProtect(entry, sizeof jump, was, &was);
  FlushInstructionCache(GetCurrentProcess(), entry, sizeof jump);
  return true;
}

}  // namespace

const char* ButtonName(int id) {
  for (const ButtonRow& row : Buttons)
    if (row.id == id) return row.name;
  return "";
}

int ButtonNamed(const std::string& name) {
  for (const ButtonRow& row : Buttons)
    if (lstrcmpiA(row.name, name.c_str()) == 0) return row.id;
  return 0;
}

int GoOnButton(const Dialog& dialog) {
  for (int id : {IDIGNORE, IDOK, IDCANCEL, IDNO})
    for (int offered : dialog.buttons)
      if (offered == id) return id;
  return dialog.buttons.empty() ? IDOK : dialog.buttons.front();
}

bool CatchDialogs(int (*answer)(const Dialog& dialog)) {
  Answer = answer;
  // Kept loaded for the life of the process, so the redirection holds.
  HMODULE user32 = LoadLibraryA("user32.dll");
  if (user32 == nullptr) return false;
  const std::pair<const char*, const void*> entries[] = {
      {"MessageBoxA", reinterpret_cast<const void*>(BoxA)},
      {"MessageBoxW", reinterpret_cast<const void*>(BoxW)},
      {"MessageBoxExA", reinterpret_cast<const void*>(BoxExA)},
      {"MessageBoxExW", reinterpret_cast<const void*>(BoxExW)},
      {"MessageBoxIndirectA", reinterpret_cast<const void*>(BoxIndirectA)},
      {"MessageBoxIndirectW", reinterpret_cast<const void*>(BoxIndirectW)}};
  bool all = true;
  for (const auto& [name, to] : entries) all = Redirect(user32, name, to) && all;
  return all;
}

}  // namespace xllhost
