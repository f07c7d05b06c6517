#include "draw/number.h"

#include <cstdlib>
#include <locale.h>
#include <string>

namespace draw {

namespace {

// The text as single-byte characters, as far as a number could reach: full-width forms read
// as ASCII, the ideographic space as a blank. Any other two-byte character can be neither
// white space nor part of a number, so the text is cut there; a lead byte with nothing after
// it, or a NUL, ends the text.
std::string normalise(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    if (c == 0)
      break;
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    if (i + 1 == gbk.size())
      break;
    const auto trail = static_cast<unsigned char>(gbk[i + 1]);
    if (c == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
      out += static_cast<char>(trail & 0x7F);
    else if (c == 0xA1 && trail == 0xA1)
      out += ' ';
    else
      break;
    ++i;
  }
  return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The longest prefix of the normalised text that forms a number, spelt the way strtod
// reads it ("d" exponents as "e"); empty when there is none.
std::string numberPrefix(const std::string &text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i]))
    ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    number += text[i++];
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) {
    number += text[i++];
    ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && isDigit(text[i])) {
      number += text[i++];
      ++digits;
    }
  }
  if (digits == 0)
    return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
      exponent += text[j++];
    const std::size_t firstDigit = j;
    while (j < text.size() && isDigit(text[j]))
      exponent += text[j++];
    if (j > firstDigit)
      number += exponent;
  }
  return number;
}

// The number's value, correctly rounded, whatever locale the process has set: the decimal
// point of the edit box is always ".".
double toDouble(const std::string &number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(number.c_str(), nullptr, cLocale);
}

} // namespace

double textToNumber(std::string_view gbk) {
  const std::string number = numberPrefix(normalise(gbk));
  if (number.empty())
    return 0;
  return toDouble(number);
}

std::int32_t truncateToInteger(double x) {
  // -2^63 and 2^63 are exact doubles; every double in between has its integral part in
  // range. NaN fails both comparisons.
  constexpr double lowest = -9223372036854775808.0;
  constexpr double limit = 9223372036854775808.0;
  std::int64_t n = INT64_MIN;
  if (x >= lowest && x < limit)
    n = static_cast<std::int64_t>(x);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(n)));
}

} // namespace draw
