#pragma once
// Fixtures for the roster and winner list tests: a temporary run directory of their own, a file
// layer that fails where a test says and logs what it was asked, and labels that log what is
// set into them.

#include "draw/files.h"
#include "draw/gbk.h"
#include "draw/text_label.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fixtures {

inline const std::string kRoster = "配置.ini";
inline const std::string kList = "中奖名单.txt";

// A fresh, empty run directory, removed with everything in it when the test ends.
class RunDirectory {
public:
  RunDirectory() : m_dir(QDir::tempPath() + QStringLiteral("/vostrel-records-XXXXXX")) {}

  bool isValid() const { return m_dir.isValid(); }
  std::string path() const { return m_dir.path().toStdString(); }
  std::string file(const std::string &name) const { return path() + "/" + name; }

  void write(const std::string &name, const std::string &bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // The bytes of a regular file, or nothing when there is no such file.
  std::optional<std::string> read(const std::string &name) const {
    if (!QFileInfo(QString::fromStdString(file(name))).isFile())
      return std::nullopt;
    std::ifstream in(file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Every entry of the directory, hidden ones included: stray temporary files show here.
  std::set<std::string> entries() const {
    std::set<std::string> names;
    const QDir dir(m_dir.path());
    for (const QString &name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
      names.insert(name.toStdString());
    return names;
  }

private:
  QTemporaryDir m_dir;
};

// The real file layer underneath, with failures switched on by file name, and a log of every
// call ("read 配置.ini", "replace 中奖名单.txt", "remove 中奖名单.txt") in the order made.
class FailingFiles final : public draw::FileLayer {
public:
  explicit FailingFiles(std::vector<std::string> *log = nullptr) : m_log(log) {}

  std::set<std::string> unreadable; // readWhole gives "cannot be read whole"
  bool writesFail = false;          // replaceWhole fails and touches nothing, as on a read-only disk
  bool removalsFail = false;

  std::optional<std::string> readWhole(const std::string &path) override {
    note("read", path);
    if (unreadable.count(baseName(path)))
      return std::nullopt;
    return draw::systemFiles().readWhole(path);
  }
  bool missing(const std::string &path) override { return draw::systemFiles().missing(path); }
  bool replaceWhole(const std::string &path, const std::string &bytes) override {
    note("replace", path);
    return !writesFail && draw::systemFiles().replaceWhole(path, bytes);
  }
  bool remove(const std::string &path) override {
    note("remove", path);
    return !removalsFail && draw::systemFiles().remove(path);
  }

private:
  static std::string baseName(const std::string &path) { return path.substr(path.rfind('/') + 1); }
  void note(const char *what, const std::string &path) {
    if (m_log)
      m_log->push_back(std::string(what) + " " + baseName(path));
  }

  std::vector<std::string> *m_log;
};

// Files held in memory, for the profile reader: a path not given is missing; reads are counted.
class MemoryFiles final : public draw::FileLayer {
public:
  std::map<std::string, std::optional<std::string>> files; // nothing: there but unreadable
  int reads = 0;

  std::optional<std::string> readWhole(const std::string &path) override {
    ++reads;
    const auto it = files.find(path);
    return it == files.end() ? std::optional<std::string>(std::string()) : it->second;
  }
  bool missing(const std::string &path) override { return !files.count(path); }
  bool replaceWhole(const std::string &path, const std::string &bytes) override {
    files[path] = bytes;
    return true;
  }
  bool remove(const std::string &path) override { return files.erase(path) > 0; }
};

// A label on no screen; what is set into it is also logged as "set <GBK text>".
class FakeLabel final : public draw::TextLabel {
public:
  explicit FakeLabel(std::string gbkText = std::string(), std::vector<std::string> *log = nullptr)
      : m_text(std::move(gbkText)), m_log(log) {}

  std::string labelText() const override { return m_text; }
  void setLabelText(const std::string &gbkText) override {
    m_text = gbkText;
    if (m_log)
      m_log->push_back("set " + gbkText);
  }

private:
  std::string m_text;
  std::vector<std::string> *m_log;
};

// A roster file's content: section "名单" with the given lines, CR LF line ends, in GBK.
inline std::string roster(std::initializer_list<const char *> utf8Lines) {
  std::string content = draw::gbk("[名单]") + "\r\n";
  for (const char *line : utf8Lines)
    content += draw::gbk(line) + "\r\n";
  return content;
}

} // namespace fixtures

// Byte strings in failure messages: printable ASCII as it is, every other byte as \xHH.
namespace fixtures {
inline QByteArray shown(const std::string &bytes) {
  QByteArray out = "\"";
  for (const unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"')
      out += char(c);
    else
      out += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
  }
  return out + "\"";
}
} // namespace fixtures

namespace QTest {
template <> inline char *toString(const std::string &bytes) { return qstrdup(fixtures::shown(bytes).constData()); }
template <> inline char *toString(const std::optional<std::string> &bytes) {
  return qstrdup(bytes ? fixtures::shown(*bytes).constData() : "(none)");
}
template <> inline char *toString(const std::vector<std::string> &items) {
  QByteArray out = "{";
  for (const std::string &item : items)
    out += fixtures::shown(item) + " ";
  return qstrdup((out + "}").constData());
}
template <> inline char *toString(const std::set<std::string> &items) {
  QByteArray out = "{";
  for (const std::string &item : items)
    out += fixtures::shown(item) + " ";
  return qstrdup((out + "}").constData());
}
} // namespace QTest
