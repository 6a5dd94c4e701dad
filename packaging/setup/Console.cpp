#include "Console.h"

#include <windows.h>

namespace setup {

namespace {

void Write(const std::wstring& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode, written;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void Say(const std::wstring& line) { Write(line + L"\r\n"); }

bool Ask(const std::wstring& prompt, std::wstring& answer) {
  Write(prompt);
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode;
  answer.clear();
  if (GetConsoleMode(in, &mode)) {
    wchar_t buffer[64];
    DWORD got = 0;
    if (!ReadConsoleW(in, buffer, 64, &got, nullptr) || got == 0) return false;
    answer.assign(buffer, got);
  } else {
    char c;
    DWORD got = 0;
    bool any = false;
    while (ReadFile(in, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
      any = true;
      answer.push_back(static_cast<unsigned char>(c));
    }
    if (!any && got == 0) return false;
  }
  while (!answer.empty() && (answer.back() == L'\r' || answer.back() == L'\n' || answer.back() == L' ')) {
    answer.pop_back();
  }
  return true;
}

}  // namespace setup
