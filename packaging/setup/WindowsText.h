// Text as Windows treats it in names and paths: compared ignoring case, as
// the registry and the file system compare, and environment references
// expanded.
#pragma once
#include <string>

namespace setup {

bool SameText(const std::wstring& a, const std::wstring& b);
bool EndsWithText(const std::wstring& text, const std::wstring& suffix);
std::wstring Expanded(const std::wstring& text);

}  // namespace setup
