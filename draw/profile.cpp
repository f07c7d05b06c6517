#include "draw/profile.h"

#include "draw/gbk.h"

#include <cstdint>
#include <optional>

namespace draw {

namespace {

bool isBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// How the host's editors and callers pad names: every byte from 01 to 20 (hex) counts.
std::string_view skipLeadingControls(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) >= 0x01 && static_cast<unsigned char>(s[i]) <= 0x20)
    ++i;
  return s.substr(i);
}

std::string_view trimTrailingBlanks(std::string_view s) {
  std::size_t end = s.size();
  while (end > 0 && isBlank(static_cast<unsigned char>(s[end - 1])))
    --end;
  return s.substr(0, end);
}

std::string_view trimBlanks(std::string_view s) {
  std::size_t begin = 0;
  while (begin < s.size() && isBlank(static_cast<unsigned char>(s[begin])))
    ++begin;
  return trimTrailingBlanks(s.substr(begin));
}

// A GBK character is one byte, or a lead byte 81-FE and a trail byte 40-FE other than 7F. The
// trail byte may look like "]" or an ASCII letter; it must not be taken for one. In UTF-8 every
// byte of a longer character is 80 or above, so there each byte may be taken on its own.
std::size_t characterLength(std::string_view s, std::size_t i, bool gbkText) {
  const unsigned char lead = static_cast<unsigned char>(s[i]);
  if (gbkText && lead >= 0x81 && lead <= 0xFE && i + 1 < s.size()) {
    const unsigned char trail = static_cast<unsigned char>(s[i + 1]);
    if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F)
      return 2;
  }
  return 1;
}

unsigned char asciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// Whole names, ASCII letters without regard to case, everything else byte for byte.
bool sameName(std::string_view a, std::string_view b, bool gbkText) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t length = characterLength(a, i, gbkText);
    if (characterLength(b, i, gbkText) != length)
      return false;
    if (length == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1])
        return false;
    } else if (asciiLower(static_cast<unsigned char>(a[i])) != asciiLower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
    i += length;
  }
  return true;
}

// The name of a header line that starts with "[" (after blanks): up to the last "]" on the
// line, or to its end when it has none.
std::string_view sectionName(std::string_view afterBracket, bool gbkText) {
  std::size_t end = afterBracket.size();
  for (std::size_t i = 0; i < afterBracket.size();) {
    const std::size_t length = characterLength(afterBracket, i, gbkText);
    if (length == 1 && afterBracket[i] == ']')
      end = i;
    i += length;
  }
  return trimBlanks(afterBracket.substr(0, end));
}

// The value as it stands in the file, blanks trimmed, one pair of quotes and what follows a 0
// byte taken off. Nothing when the file has no such key in the first section of that name.
std::optional<std::string_view> findValue(std::string_view content, std::string_view section, std::string_view key,
                                          bool gbkText) {
  bool inSection = false;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = pos;
    while (end < content.size() && content[end] != '\r' && content[end] != '\n')
      ++end;
    const std::string_view line = content.substr(pos, end - pos);
    pos = end;
    if (pos < content.size())
      pos += (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n') ? 2 : 1;

    std::size_t first = 0;
    while (first < line.size() && isBlank(static_cast<unsigned char>(line[first])))
      ++first;
    if (first < line.size() && line[first] == '[') {
      // Only the first section of a name is searched: the next header ends the search.
      if (inSection)
        return std::nullopt;
      inSection = sameName(sectionName(line.substr(first + 1), gbkText), section, gbkText);
      continue;
    }
    if (!inSection)
      continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !sameName(trimBlanks(line.substr(0, equals)), key, gbkText))
      continue;
    std::string_view value = trimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return value.substr(0, value.find('\0'));
  }
  return std::nullopt;
}

std::string cutToLimit(std::string_view gbkValue) { return std::string(gbkValue.substr(0, kProfileValueLimit)); }

void appendUtf8(std::string &out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-16 without its mark to UTF-8; a lone surrogate becomes U+FFFD, an odd last byte is dropped.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t i) -> std::uint32_t {
    const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (std::uint32_t(b0) << 8 | b1) : (std::uint32_t(b1) << 8 | b0);
  };
  std::string out;
  out.reserve(units * 2);
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      appendUtf8(out, 0xFFFD);
    } else {
      appendUtf8(out, u);
    }
  }
  return out;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

} // namespace

std::string profileValue(std::string_view content, std::string_view section, std::string_view key) {
  const std::optional<std::string_view> value = findValue(content, section, key, true);
  return value ? cutToLimit(*value) : std::string();
}

std::string readProfileString(FileLayer &files, std::string_view path, std::string_view section, std::string_view key) {
  path = skipLeadingControls(path);
  section = trimTrailingBlanks(skipLeadingControls(section));
  key = trimTrailingBlanks(skipLeadingControls(key));
  if (path.empty() || section.empty() || key.empty())
    return std::string();
  const std::optional<std::string> content = files.readWhole(std::string(path));
  if (!content)
    return std::string();
  const std::string_view bytes = *content;

  std::string utf8;
  if (startsWith(bytes, "\xEF\xBB\xBF"))
    utf8 = bytes.substr(3);
  else if (startsWith(bytes, "\xFF\xFE"))
    utf8 = utf16ToUtf8(bytes.substr(2), false);
  else if (startsWith(bytes, "\xFE\xFF"))
    utf8 = utf16ToUtf8(bytes.substr(2), true);
  else
    return profileValue(bytes, section, key);

  // A marked file is searched in its own encoding and only the value found is turned into GBK:
  // converting a whole file of characters GBK lacks would take far too long.
  const std::optional<std::string_view> value = findValue(utf8, gbkToUtf8(section), gbkToUtf8(key), false);
  if (!value)
    return std::string();
  // No character gives less than one GBK byte, so the first 10239 characters are enough.
  std::size_t end = 0;
  for (std::size_t characters = 0; end < value->size(); ++end)
    if ((static_cast<unsigned char>((*value)[end]) & 0xC0) != 0x80 && characters++ == kProfileValueLimit)
      break;
  return cutToLimit(utf8ToGbk(value->substr(0, end)));
}

} // namespace draw
