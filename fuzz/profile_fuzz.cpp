// The INI reader on arbitrary files, sections and keys: the roster is written by hand, saved by
// any editor in any encoding, and may be anything at all.

#include "fuzz/fuzz_check.h"
#include "draw/files.h"
#include "draw/profile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const std::string kPath = "/run/roster.ini";
const std::string kRosterSection = "\xC3\xFB\xB5\xA5"; // "名单" in GBK

// One file in memory; every other path is missing.
class OneFile final : public draw::FileLayer {
public:
  explicit OneFile(const std::string &content) : m_content(content) {}
  std::optional<std::string> readWhole(const std::string &path) override {
    return path == kPath ? m_content : std::string();
  }
  bool missing(const std::string &path) override { return path != kPath; }
  bool replaceWhole(const std::string &, const std::string &) override { return false; }
  bool remove(const std::string &) override { return false; }

private:
  std::string m_content;
};

std::string read(const std::string &content, const std::string &section, const std::string &key) {
  OneFile files(content);
  return draw::readProfileString(files, kPath, section, key);
}

bool startsWith(const std::string &s, const char *prefix) { return s.rfind(prefix, 0) == 0; }

using fuzz::require;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider input(data, size);
  const uint8_t mode = input.ConsumeIntegral<uint8_t>();
  // Mostly the roster's own section and short keys, so the search reaches its entries.
  const std::string section = (mode & 1) ? input.ConsumeRandomLengthString(12) : kRosterSection;
  const std::string key = (mode & 2) ? input.ConsumeRandomLengthString(12) : std::to_string(mode >> 2);
  const std::string content = input.ConsumeRemainingBytesAsString();

  const std::string value = read(content, section, key);
  require(value.size() <= draw::kProfileValueLimit);
  // A value is one line of the file and ends at its first 0 byte.
  require(value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);

  // A blank line in front of a file without a byte-order mark changes nothing.
  if (!startsWith(content, "\xEF\xBB\xBF") && !startsWith(content, "\xFF\xFE") && !startsWith(content, "\xFE\xFF"))
    require(read("\r\n" + content, section, key) == value);
  return 0;
}
