// The INI reader: how it finds a value in the rosters hosts write by hand, and how it answers
// on what is not a roster at all.

#include "draw/gbk.h"
#include "draw/profile.h"
#include "record_fixtures.h"

#include <QtTest>

#include <random>

using draw::gbk;
using fixtures::MemoryFiles;

namespace {

const std::string kPath = "/run/配置.ini";

std::string readValue(const std::string &content, const std::string &section, const std::string &key) {
  MemoryFiles files;
  files.files[kPath] = content;
  return draw::readProfileString(files, kPath, section, key);
}

std::string utf16(const char *utf8, bool bigEndian) {
  const QString text = QString::fromUtf8(utf8);
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const QChar c : text) {
    const char hi = char(c.unicode() >> 8);
    const char lo = char(c.unicode() & 0xFF);
    bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

} // namespace

class TestProfile : public QObject {
  Q_OBJECT

private slots:
  void findsValueByFileRules_data();
  void findsValueByFileRules();
  void argumentsAreTrimmedOrNothingIsRead_data();
  void argumentsAreTrimmedOrNothingIsRead();
  void missingOrUnreadableFileGivesEmpty();
  void randomBytesNeverCrash();
  void hugeRosterIsReadToTheEnd();
};

void TestProfile::findsValueByFileRules_data() {
  QTest::addColumn<std::string>("content");
  QTest::addColumn<std::string>("section");
  QTest::addColumn<std::string>("key");
  QTest::addColumn<std::string>("value");

  const std::string names = gbk("名单");
  const std::string zhang = gbk("张三");
  auto row = [&](const char *name, const std::string &content, const std::string &value, const std::string &key = "1") {
    QTest::newRow(name) << content << names << key << value;
  };

  row("CR LF lines", gbk("[名单]\r\n1=张三\r\n2=李四\r\n"), zhang);
  row("LF lines", gbk("[名单]\n2=李四\n1=张三\n"), zhang);
  row("CR lines", gbk("[名单]\r2=李四\r1=张三\r"), zhang);
  row("last line without line end", gbk("[名单]\r\n1=张三"), zhang);
  row("blanks around header name", gbk(" \t[ 名单 \t] \r\n1=张三"), zhang);
  row("header name runs to last ]", gbk("[名单]x]\r\n1=李四\r\n[名单]\r\n1=张三"), zhang);
  row("other sections ignored", gbk("1=甲\r\n[其他]\r\n1=李四\r\n[名单]\r\n1=张三\r\n[又一]\r\n1=王五"), zhang);
  row("repeated section never reached", gbk("[名单]\r\n2=李四\r\n[名单]\r\n1=张三"), "");
  QTest::newRow("section names ignore ASCII case")
      << gbk("[Names]\r\n1=张三") << std::string("NAMES") << std::string("1") << zhang;
  QTest::newRow("key names ignore ASCII case") << gbk("[名单]\r\nkey=张三") << names << std::string("KEY") << zhang;
  QTest::newRow("GBK trail byte is no letter") << std::string("[\x81\x61]\r\n1=x\r\n[\x81\x41]\r\n1=y")
                                               << std::string("\x81\x41") << std::string("1") << std::string("y");
  QTest::newRow("GBK trail byte is no ]")
      << std::string("[\x81\x5D\r\n1=y") << std::string("\x81\x5D") << std::string("1") << std::string("y");
  row("key before first =", gbk("[名单]\r\n1=a=b"), "a=b");
  row("blanks around key and value", gbk("[名单]\r\n \t\v\f1 \t\v\f= \t\v\f张三 \t\v\f\r\n"), zhang);
  row("blanks inside value kept", gbk("[名单]\r\n1=张  三"), gbk("张  三"));
  row("01 is not 1", gbk("[名单]\r\n01=李四\r\n1=张三"), zhang);
  row("10 is not 1", gbk("[名单]\r\n10=李四\r\n1=张三"), zhang);
  row("1 is not 01", gbk("[名单]\r\n1=张三"), "", "01");
  row("first matching entry wins", gbk("[名单]\r\n1=张三\r\n1=李四"), zhang);
  row("line without = is skipped", gbk("[名单]\r\n1\r\n1=张三"), zhang);
  row("double quotes removed", gbk("[名单]\r\n1= \"张三\" "), zhang);
  row("single quotes removed", gbk("[名单]\r\n1='张三'"), zhang);
  row("blanks inside quotes kept", gbk("[名单]\r\n1=\" 张三 \""), gbk(" 张三 "));
  row("only one pair of quotes removed", gbk("[名单]\r\n1=\"\"张三\"\""), gbk("\"张三\""));
  row("mismatched quotes kept", gbk("[名单]\r\n1=\"张三'"), gbk("\"张三'"));
  row("lone quote kept", gbk("[名单]\r\n1=\""), "\"");
  row("nothing after a value is a comment", gbk("[名单]\r\n1=张三 ;x"), gbk("张三 ;x"));
  row("comment line never matches", gbk("[名单]\r\n;1=李四\r\n  ;1=王五\r\n1=张三"), zhang);
  row("0 byte ends the value", gbk("[名单]\r\n1=张") + std::string("\0", 1) + gbk("三"), gbk("张"));
  row("empty value", gbk("[名单]\r\n1=\r\n1=张三"), "");
  row("missing section", gbk("[其他]\r\n1=张三"), "");
  row("missing key", gbk("[名单]\r\n2=张三"), "");
  row("no mark is GBK", "[\xC3\xFB\xB5\xA5]\r\n1=\xE5\xBC\xA0", "\xE5\xBC\xA0");
  row("UTF-8 mark", "\xEF\xBB\xBF[名单]\r\n1=张三\r\n", zhang);
  row("UTF-8 mark, no GBK form", "\xEF\xBB\xBF[名单]\r\n1=张\xF0\x9F\x98\x80三", gbk("张?三"));
  row("UTF-16LE mark", utf16("[名单]\r\n1=张三\r\n", false), zhang);
  row("UTF-16BE mark", utf16("[名单]\r\n1=张三\r\n", true), zhang);
  row("UTF-16 mark, no GBK form", utf16("[名单]\r\n1=张😀", false) + "\x00", gbk("张?"));

  std::string longUtf8 = "\xEF\xBB\xBF[名单]\r\n1=";
  std::string longGbk;
  for (int i = 0; i < 6000; ++i) {
    longUtf8 += "张";
    longGbk += gbk("张");
  }
  row("UTF-8 mark, value cut to 10239 GBK bytes", longUtf8, longGbk.substr(0, 10239));

  const std::string longValue(10300, 'x');
  row("value cut to 10239 bytes", gbk("[名单]\r\n1=") + longValue, longValue.substr(0, 10239));
  row("10239 bytes kept whole", gbk("[名单]\r\n1=") + longValue.substr(0, 10239) + "\r\n", longValue.substr(0, 10239));
}

void TestProfile::findsValueByFileRules() {
  QFETCH(std::string, content);
  QFETCH(std::string, section);
  QFETCH(std::string, key);
  QFETCH(std::string, value);
  QCOMPARE(readValue(content, section, key), value);
}

void TestProfile::argumentsAreTrimmedOrNothingIsRead_data() {
  QTest::addColumn<std::string>("path");
  QTest::addColumn<std::string>("section");
  QTest::addColumn<std::string>("key");
  QTest::addColumn<bool>("read");
  QTest::addColumn<std::string>("value");

  const std::string names = gbk("名单");
  const std::string zhang = gbk("张三");
  QTest::newRow("leading 01-20 in path") << "\x01\x1F " + kPath << names << std::string("1") << true << zhang;
  QTest::newRow("leading 01-20 in section") << kPath << "\x05 \t" + names << std::string("1") << true << zhang;
  QTest::newRow("leading 01-20 in key") << kPath << names << std::string("\x10\r\n 1") << true << zhang;
  QTest::newRow("trailing blanks in section and key") << kPath << names + " \t" << std::string("1 \t") << true << zhang;
  QTest::newRow("empty key") << kPath << names << std::string() << false << std::string();
  QTest::newRow("blank key") << kPath << names << std::string(" \x01\x20") << false << std::string();
  QTest::newRow("blank section") << kPath << std::string("\t ") << std::string("1") << false << std::string();
  QTest::newRow("blank path") << std::string("\x20\x02") << names << std::string("1") << false << std::string();
}

void TestProfile::argumentsAreTrimmedOrNothingIsRead() {
  QFETCH(std::string, path);
  QFETCH(std::string, section);
  QFETCH(std::string, key);
  QFETCH(bool, read);
  QFETCH(std::string, value);

  MemoryFiles files;
  files.files[kPath] = gbk("[名单]\r\n1=张三\r\n");
  QCOMPARE(draw::readProfileString(files, path, section, key), value);
  QCOMPARE(files.reads, read ? 1 : 0);
}

void TestProfile::missingOrUnreadableFileGivesEmpty() {
  MemoryFiles files;
  QCOMPARE(draw::readProfileString(files, kPath, gbk("名单"), "1"), std::string());
  files.files[kPath] = std::nullopt;
  QCOMPARE(draw::readProfileString(files, kPath, gbk("名单"), "1"), std::string());
}

// Whatever a "roster" holds, the reader answers with at most 10239 bytes and without a 0 byte.
void TestProfile::randomBytesNeverCrash() {
  std::mt19937 generator(20240521);
  const std::string prefixes[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  const std::string alphabet = std::string("[]=;\"' \t\r\n1\0", 12) + gbk("名单");
  for (int round = 0; round < 400; ++round) {
    std::string content = prefixes[round % 4];
    const std::size_t size = generator() % 40000;
    for (std::size_t i = 0; i < size; ++i) {
      // Half the rounds from bytes that mean something to the reader, half from any byte.
      content += round % 2 ? alphabet[generator() % alphabet.size()] : char(generator());
    }
    const std::string value = readValue(content, gbk("名单"), "1");
    QVERIFY(value.size() <= draw::kProfileValueLimit);
    QVERIFY(value.find('\0') == std::string::npos);
  }
}

void TestProfile::hugeRosterIsReadToTheEnd() {
  std::string content = gbk("[名单]\r\n");
  const std::string line = gbk("2=一个很长的名字用来填满名单文件的一行\r\n");
  content.reserve(50u << 20);
  while (content.size() < (50u << 20))
    content += line;
  content += gbk("1=张三");
  QCOMPARE(readValue(content, gbk("名单"), "1"), gbk("张三"));
}

QTEST_APPLESS_MAIN(TestProfile)
#include "test_profile.moc"
