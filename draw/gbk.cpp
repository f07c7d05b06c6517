#include "draw/gbk.h"

#include <cerrno>
#include <iconv.h>

namespace draw {

namespace {

// One converter per direction and thread, opened on first use and kept: iconv_open loads the
// code page tables and is far too slow to repeat for every label text.
class Converter {
public:
  Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (m_cd != reinterpret_cast<iconv_t>(-1))
      iconv_close(m_cd);
  }
  Converter(const Converter &) = delete;
  Converter &operator=(const Converter &) = delete;

  bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns how the run stopped (0, EILSEQ, EINVAL).
  int run(const char *&in, size_t &inLeft, std::string &out) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[4096];
    while (inLeft > 0) {
      char *dst = buffer;
      size_t dstLeft = sizeof buffer;
      char *src = const_cast<char *>(in);
      errno = 0;
      const size_t r = iconv(m_cd, &src, &inLeft, &dst, &dstLeft);
      const int err = r == static_cast<size_t>(-1) ? errno : 0;
      in = src;
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (err == E2BIG)
        continue;
      if (err != 0)
        return err;
    }
    return 0;
  }

private:
  iconv_t m_cd;
};

size_t utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  if (lead >= 0xE0)
    return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2)
    return 2;
  return 1;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk) {
  thread_local Converter conv("UTF-8", "CP936");
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  const char *in = gbk.data();
  size_t left = gbk.size();
  while (left > 0) {
    if (!conv.ok() || conv.run(in, left, out) != 0) {
      // A bad or cut-off sequence: mark the one lead byte and carry on after it, so the
      // byte after it is read as a character of its own.
      out += "\xEF\xBF\xBD";
      ++in;
      --left;
    }
  }
  return out;
}

std::string utf8ToGbk(std::string_view utf8) {
  thread_local Converter conv("CP936", "UTF-8");
  std::string out;
  out.reserve(utf8.size());
  const char *in = utf8.data();
  size_t left = utf8.size();
  while (left > 0) {
    if (!conv.ok() || conv.run(in, left, out) != 0) {
      size_t skip = utf8SequenceLength(static_cast<unsigned char>(*in));
      if (skip > left)
        skip = left;
      // A broken sequence is skipped only as far as its bytes really continue it.
      for (size_t i = 1; i < skip; ++i)
        if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) {
          skip = i;
          break;
        }
      out += '?';
      in += skip;
      left -= skip;
    }
  }
  return out;
}

} // namespace draw

namespace draw {

std::string_view gbkPrefix(std::string_view gbk, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < gbk.size()) {
    // Lead bytes run from 0x81 to 0xFE; 0x80 (the euro sign) and 0xFF stand alone.
    const auto c = static_cast<unsigned char>(gbk[i]);
    const std::size_t len = c >= 0x81 && c <= 0xFE ? 2 : 1;
    if (i + len > maxBytes || i + len > gbk.size())
      break;
    i += len;
  }
  return gbk.substr(0, i);
}

} // namespace draw
