#pragma once
// The INI reader for files the host writes by hand with a text editor. It answers as the
// Windows private-profile reader does for such files: sections in square brackets, "key=value"
// lines, blanks around names and values ignored, names matched whole and without regard to the
// case of ASCII letters, the first section and the first entry of a name taken.

#include "draw/files.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace draw {

// The most bytes of a value that are kept; the rest is cut off.
inline constexpr std::size_t kProfileValueLimit = 10239;

// The value of `key` in `section` of the file at `path` (a native path), read through `files`,
// as GBK. The section and key are GBK. Leading bytes 01 to 20 (hex) are skipped in all three
// arguments and trailing blanks in the section and key; when one of them is then empty nothing
// is read. A missing or unreadable file, section or key gives the empty text.
//
// A file that starts with a UTF-8 or UTF-16 byte-order mark is read in that encoding and its
// value given in GBK, "?" standing for a character GBK lacks; any other file is GBK bytes.
std::string readProfileString(FileLayer &files, std::string_view path, std::string_view section, std::string_view key);

// The same rules applied to a file's content already in hand.
std::string profileValue(std::string_view content, std::string_view section, std::string_view key);

} // namespace draw
