// Text to number and truncate to integer on any text typed or pasted into the person count.

#include "fuzz/fuzz_check.h"
#include "draw/number.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using fuzz::require;

bool sameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The same text in full-width forms: every printable ASCII character as its GBK full-width
// twin, the blank as the ideographic space.
std::string fullWidth(const std::string &ascii) {
  std::string out;
  for (const char c : ascii) {
    if (c == ' ')
      out += "\xA1\xA1";
    else if (c > ' ' && c < 0x7F)
      out += {'\xA3', static_cast<char>(c | 0x80)};
    else
      out += c;
  }
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  const double value = draw::textToNumber(text);
  require(!std::isnan(value));
  // Runs in the sanitizer build: a cast out of range would be reported here.
  const std::int32_t count = draw::truncateToInteger(value);
  if (std::isinf(value))
    require(count == 0);
  if (std::fabs(value) < 2147483648.0)
    require(count == static_cast<std::int32_t>(std::trunc(value)));

  // A comma ends the number, so anything after the text cannot change it.
  require(sameDouble(draw::textToNumber(text + ",1"), value));

  bool ascii = true;
  for (const char c : text)
    ascii = ascii && static_cast<unsigned char>(c) < 0x80 && c != 0;
  if (ascii)
    require(sameDouble(draw::textToNumber(fullWidth(text)), value));
  return 0;
}
