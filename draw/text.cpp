#include "draw/text.h"

#include <cstring>

namespace draw {

namespace {

std::string_view upToNul(std::string_view bytes) {
  const std::size_t end = bytes.find('\0');
  return end == std::string_view::npos ? bytes : bytes.substr(0, end);
}

} // namespace

TextView::TextView(const char *text) : m_bytes(text ? std::string_view(text) : std::string_view()) {}

TextView::TextView(std::string_view bytes) : m_bytes(upToNul(bytes)) {}

TextView::TextView(const std::optional<std::string> &text) {
  if (text)
    m_bytes = upToNul(*text);
}

int textLength(TextView text) { return static_cast<int>(text.bytes().size()); }

std::string textJoin(TextView a, TextView b) {
  std::string joined;
  joined.reserve(a.bytes().size() + b.bytes().size());
  joined.append(a.bytes()).append(b.bytes());
  return joined;
}

std::string textJoin(TextView a, TextView b, TextView c) {
  std::string joined;
  joined.reserve(a.bytes().size() + b.bytes().size() + c.bytes().size());
  joined.append(a.bytes()).append(b.bytes()).append(c.bytes());
  return joined;
}

int textCompare(TextView a, TextView b) {
  const std::string_view x = a.bytes();
  const std::string_view y = b.bytes();
  const std::size_t common = x.size() < y.size() ? x.size() : y.size();
  // memcmp compares as unsigned char, so GBK lead bytes sort after ASCII.
  const int r = common ? std::memcmp(x.data(), y.data(), common) : 0;
  if (r != 0)
    return r < 0 ? -1 : 1;
  if (x.size() == y.size())
    return 0;
  return x.size() < y.size() ? -1 : 1;
}

std::optional<std::string> bytesToText(std::string_view bytes) {
  const std::string_view text = upToNul(bytes);
  if (text.empty())
    return std::nullopt;
  return std::string(text);
}

std::string textToBytes(TextView text) { return std::string(text.bytes()); }

std::string textCopy(TextView text) { return std::string(text.bytes()); }

} // namespace draw
