// Lines to and from the user: wide text on a console, UTF-8 through a pipe or file.
#pragma once
#include <string>

namespace setup {

void Say(const std::wstring& line);

// Prints the prompt and reads one line; false at the end of input.
bool Ask(const std::wstring& prompt, std::wstring& answer);

}  // namespace setup
