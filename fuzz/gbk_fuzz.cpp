// GBK to display text (and back) on any bytes: roster names come from files the host wrote,
// cut anywhere, with lead bytes missing their trail bytes.

#include "fuzz/fuzz_check.h"
#include "draw/gbk.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using fuzz::require;

// Well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF); counts U+FFFD.
bool validUtf8(const std::string &s, std::size_t &replacements) {
  replacements = 0;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length;
    std::uint32_t cp;
    if (c < 0x80) {
      length = 1;
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      length = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + length > s.size())
      return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80)
        return false;
      cp = cp << 6 | (t & 0x3F);
    }
    static const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    replacements += cp == 0xFFFD;
    i += length;
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string bytes(reinterpret_cast<const char *>(data), size);

  const std::string shown = draw::gbkToUtf8(bytes);
  std::size_t replacements = 0;
  require(validUtf8(shown, replacements));
  // At most one mark per byte.
  require(replacements <= bytes.size());
  // Bytes that all convert come back unchanged: a name is recorded byte for byte.
  if (replacements == 0)
    require(draw::utf8ToGbk(shown) == bytes);

  // The other way on the same bytes taken as UTF-8: always GBK, "?" for what has no form.
  const std::string back = draw::utf8ToGbk(bytes);
  require(draw::gbkToUtf8(back).find("\xEF\xBF\xBD") == std::string::npos);

  // A prefix never cuts a two-byte character and never runs over its limit.
  const std::size_t limit = size ? data[0] : 0;
  const std::string_view prefix = draw::gbkPrefix(bytes, limit);
  require(prefix.size() <= limit && bytes.compare(0, prefix.size(), prefix) == 0);
  if (prefix.size() < bytes.size()) {
    const auto next = static_cast<unsigned char>(bytes[prefix.size()]);
    const std::size_t nextLength = next >= 0x81 && next <= 0xFE ? 2 : 1;
    require(prefix.size() + nextLength > limit || prefix.size() + nextLength > bytes.size());
  }
  return 0;
}
