// Texts are UTF-8 in xllhost; Excel counts a text's length in UTF-16 code
// units and its positions in characters.
#pragma once

#include <cstddef>
#include <string>

namespace xllhost {

size_t Utf16Length(const std::string& text);
// `count` characters of the text from character `first` (from 0), by
// whole UTF-8 sequences.
std::string Characters(const std::string& text, size_t first, size_t count);
bool IsAscii(const std::string& text);

}  // namespace xllhost
