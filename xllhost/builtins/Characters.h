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
// The code point of the text's first character; 0 for an empty text or a
// broken UTF-8 sequence.
char32_t FirstCodePoint(const std::string& text);
// A code point (below 0x110000, no surrogate) in UTF-8.
std::string Utf8(char32_t point);

}  // namespace xllhost
