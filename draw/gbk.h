#pragma once
// GBK (code page 936) byte strings to and from UTF-8, the form the display and the file
// names of this system take. Texts stay GBK inside the program; only the edges convert.

#include <string>
#include <string_view>

namespace draw {

// Invalid or truncated GBK becomes U+FFFD, one per bad byte, and never eats the character
// that follows it. Byte 0x80 is the euro sign, as in code page 936.
std::string gbkToUtf8(std::string_view gbk);

// A character with no GBK form (or a broken UTF-8 sequence) becomes "?".
std::string utf8ToGbk(std::string_view utf8);

// The program's own texts are written in the source as UTF-8 and held as GBK.
inline std::string gbk(std::string_view utf8) { return utf8ToGbk(utf8); }

} // namespace draw

namespace draw {

// The longest prefix of at most maxBytes bytes that does not cut a two-byte character.
std::string_view gbkPrefix(std::string_view gbk, std::size_t maxBytes);

} // namespace draw
