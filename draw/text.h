#pragma once
// Texts: NUL-terminated GBK byte strings, as labels, the roster and the winner list hold them.
// The absent text and the empty text are one value to every operation here; a text ends at its
// first 0 byte, whatever the container holding it has after that.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace draw {

// A borrowed text: absent (nullptr or an empty optional) or the bytes up to the first 0 byte.
class TextView {
public:
  TextView() = default;
  TextView(std::nullptr_t) {}
  TextView(const char *text);
  TextView(std::string_view bytes);
  TextView(const std::string &text) : TextView(std::string_view(text)) {}
  TextView(const std::optional<std::string> &text);

  std::string_view bytes() const { return m_bytes; }
  bool empty() const { return m_bytes.empty(); }

private:
  std::string_view m_bytes;
};

// The number of bytes before the terminating 0; the absent text has length 0.
int textLength(TextView text);

// A new text holding the pieces in order; an absent piece adds nothing.
std::string textJoin(TextView a, TextView b);
std::string textJoin(TextView a, TextView b, TextView c);

// -1, 0 or 1: bytes compared as unsigned values; absent equals empty and sorts before the rest.
int textCompare(TextView a, TextView b);

// The bytes up to the first 0 byte; no bytes give the absent text.
std::optional<std::string> bytesToText(std::string_view bytes);

// The text's bytes without its terminator.
std::string textToBytes(TextView text);

// A new copy of the text.
std::string textCopy(TextView text);

} // namespace draw
