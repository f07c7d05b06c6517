// GBK texts to and from UTF-8 at the display's edge, and cutting a GBK text to a byte limit.

#include "draw/gbk.h"

#include <QtTest>

#include <algorithm>
#include <string>

using namespace std::string_literals;

Q_DECLARE_METATYPE(std::string)

namespace {

QByteArray hex(const std::string &bytes) { return QByteArray::fromStdString(bytes).toHex(' '); }

} // namespace

class TestGbk : public QObject {
  Q_OBJECT

private slots:
  void gbkToUtf8_data();
  void gbkToUtf8();
  void utf8ToGbk_data();
  void utf8ToGbk();
  void programTextsSurviveTheRoundTrip();
  void longTextsConvertWhole();
  void gbkPrefix_data();
  void gbkPrefix();
};

void TestGbk::gbkToUtf8_data() {
  QTest::addColumn<std::string>("gbk");
  QTest::addColumn<std::string>("utf8");

  const std::string bad = "\xEF\xBF\xBD";
  QTest::newRow("empty") << ""s << ""s;
  QTest::newRow("ASCII unchanged") << "Vostrel 0000\r\n"s << "Vostrel 0000\r\n"s;
  QTest::newRow("two Chinese characters") << "\xD5\xC5\xC8\xFD"s << "张三"s;
  QTest::newRow("0x80 is the euro sign") << "\x80"s << "\xE2\x82\xAC"s;
  QTest::newRow("ideographic space") << "\xA1\xA1"s << "\xE3\x80\x80"s;
  QTest::newRow("full-width digit") << "\xA3\xB5"s << "５"s;
  QTest::newRow("invalid trail keeps the blank") << "\x81\x20"s << bad + " ";
  QTest::newRow("invalid trail keeps the digit") << "\xD5\x35\xC8\xFD"s << bad + "5三";
  QTest::newRow("0x7F is no trail byte") << "\x81\x7F"s << bad + "\x7F";
  QTest::newRow("lead byte cut off at the end") << "A\xD5"s << "A" + bad;
  QTest::newRow("lone lead byte") << "\xD5"s << bad;
  QTest::newRow("0xFF stands for nothing") << "\xFF"
                                              "1"s
                                           << bad + "1";
  QTest::newRow("two bad bytes, two marks") << "\xFF\xFF"s << bad + bad;
}

void TestGbk::gbkToUtf8() {
  QFETCH(std::string, gbk);
  QFETCH(std::string, utf8);
  QCOMPARE(hex(draw::gbkToUtf8(gbk)), hex(utf8));
}

void TestGbk::utf8ToGbk_data() {
  QTest::addColumn<std::string>("utf8");
  QTest::addColumn<std::string>("gbk");

  QTest::newRow("empty") << ""s << ""s;
  QTest::newRow("ASCII unchanged") << "1,000 abc"s << "1,000 abc"s;
  QTest::newRow("two Chinese characters") << "张三"s << "\xD5\xC5\xC8\xFD"s;
  QTest::newRow("euro sign is 0x80") << "€"s << "\x80"s;
  QTest::newRow("full-width colon") << "："s << "\xA3\xBA"s;
  QTest::newRow("e acute is a pinyin letter") << "é"s << "\xA8\xA6"s;
  QTest::newRow("A grave has no GBK form") << "xÀy"s << "x?y"s;
  QTest::newRow("emoji has no GBK form") << "😀x"s << "?x"s;
  QTest::newRow("lead without continuation keeps the next byte") << "\xC3(ab"s << "?(ab"s;
  QTest::newRow("three-byte sequence cut short") << "\xE5\xBC"
                                                    "A"s
                                                 << "?A"s;
  QTest::newRow("three-byte sequence cut off at the end") << "A\xE5\xBC"s << "A?"s;
  QTest::newRow("lone continuation byte") << "\x80"
                                             "A"s
                                          << "?A"s;
  QTest::newRow("byte never used in UTF-8") << "\xFF"
                                               "1"s
                                            << "?1"s;
  QTest::newRow("broken then Chinese") << "\xE5"s + "张" << "?\xD5\xC5"s;
}

void TestGbk::utf8ToGbk() {
  QFETCH(std::string, utf8);
  QFETCH(std::string, gbk);
  QCOMPARE(hex(draw::utf8ToGbk(utf8)), hex(gbk));
}

void TestGbk::programTextsSurviveTheRoundTrip() {
  for (const char *text : {"恭喜", "中奖了！", "配置.ini", "中奖名单.txt", "Vostrel    By：keldrun", "功能待该进..."}) {
    const std::string held = draw::gbk(text);
    QVERIFY(held.find('?') == std::string::npos);
    QCOMPARE(draw::gbkToUtf8(held), std::string(text));
  }
}

// Longer than one conversion buffer, with a bad byte on each side of the boundary.
void TestGbk::longTextsConvertWhole() {
  std::string gbk;
  std::string utf8;
  for (int i = 0; i < 3000; ++i) {
    gbk += "\xD5\xC5";
    utf8 += "张";
    if (i == 1364 || i == 1366) {
      gbk += "\xFF";
      utf8 += "\xEF\xBF\xBD";
    }
  }
  QCOMPARE(draw::gbkToUtf8(gbk), utf8);
  std::string back = gbk;
  back.erase(std::remove(back.begin(), back.end(), '\xFF'), back.end());
  QCOMPARE(draw::utf8ToGbk(draw::gbkToUtf8(back)), back);
}

// The tray tip holds 62 bytes at most.
void TestGbk::gbkPrefix_data() {
  QTest::addColumn<std::string>("gbk");
  QTest::addColumn<int>("maxBytes");
  QTest::addColumn<std::string>("prefix");

  const std::string zhang = "\xD5\xC5";
  QTest::newRow("short tip whole") << "Vostrel"s << 62 << "Vostrel"s;
  QTest::newRow("62 ASCII bytes of 70") << std::string(70, 'a') << 62 << std::string(62, 'a');
  QTest::newRow("character across the limit dropped") << std::string(61, 'a') + zhang << 62 << std::string(61, 'a');
  QTest::newRow("character ending at the limit kept") << std::string(60, 'a') + zhang + "b" << 62
                                                      << std::string(60, 'a') + zhang;
  QTest::newRow("Chinese only, odd limit") << draw::gbk("恭喜中奖") << 5 << draw::gbk("恭喜");
  QTest::newRow("limit 0") << "abc"s << 0 << ""s;
  QTest::newRow("dangling lead byte dropped") << "A\xD5"s << 62 << "A"s;
  QTest::newRow("euro sign is one byte") << "\x80\xD5\xC5"s << 2 << "\x80"s;
  QTest::newRow("0xFF is one byte") << "\xFF\xD5\xC5"s << 2 << "\xFF"s;
}

void TestGbk::gbkPrefix() {
  QFETCH(std::string, gbk);
  QFETCH(int, maxBytes);
  QFETCH(std::string, prefix);
  QCOMPARE(hex(std::string(draw::gbkPrefix(gbk, static_cast<std::size_t>(maxBytes)))), hex(prefix));
}

QTEST_APPLESS_MAIN(TestGbk)
#include "test_gbk.moc"
