// The text operations on GBK byte strings: the absent and the empty text are one value, a
// text ends at its first 0 byte, and bytes compare as unsigned values.

#include "draw/text.h"

#include <QtTest>

#include <optional>
#include <string>

using draw::TextView;

namespace {
const std::optional<std::string> kAbsent;
const std::string kEmpty;
const std::string kWithNul("ab\0cd", 5);
} // namespace

class TestText : public QObject {
  Q_OBJECT

private slots:
  void lengthCountsBytesBeforeNul();
  void joinSkipsAbsentPiecesAndStopsEachAtNul();
  void compareTreatsAbsentAsEmpty_data();
  void compareTreatsAbsentAsEmpty();
  void bytesToTextEndsAtFirstNul();
};

void TestText::lengthCountsBytesBeforeNul() {
  QCOMPARE(draw::textLength(nullptr), 0);
  QCOMPARE(draw::textLength(kAbsent), 0);
  QCOMPARE(draw::textLength(kEmpty), 0);
  QCOMPARE(draw::textLength("\xD5\xC5\xC8\xFD"), 4);
  QCOMPARE(draw::textLength(kWithNul), 2);
}

void TestText::joinSkipsAbsentPiecesAndStopsEachAtNul() {
  QCOMPARE(draw::textJoin(kAbsent, nullptr), std::string());
  QCOMPARE(draw::textJoin("\xB9\xA7\xCF\xB2", kAbsent, "!"), std::string("\xB9\xA7\xCF\xB2!"));
  QCOMPARE(draw::textJoin(kWithNul, "\r\n", kWithNul), std::string("ab\r\nab"));
  QCOMPARE(draw::textJoin(std::optional<std::string>("x"), kEmpty), std::string("x"));
}

void TestText::compareTreatsAbsentAsEmpty_data() {
  QTest::addColumn<std::optional<std::string>>("a");
  QTest::addColumn<std::optional<std::string>>("b");
  QTest::addColumn<int>("result");

  using T = std::optional<std::string>;
  QTest::newRow("absent and empty") << T() << T("") << 0;
  QTest::newRow("absent and absent") << T() << T() << 0;
  QTest::newRow("absent first") << T() << T("a") << -1;
  QTest::newRow("absent second") << T("a") << T() << 1;
  QTest::newRow("equal") << T("\xD5\xC5") << T("\xD5\xC5") << 0;
  QTest::newRow("prefix is less") << T("ab") << T("abc") << -1;
  QTest::newRow("longer is greater") << T("abc") << T("ab") << 1;
  QTest::newRow("bytes are unsigned") << T("\x7F") << T("\x80") << -1;
  QTest::newRow("GBK after ASCII") << T("\xD5\xC5") << T("z") << 1;
  QTest::newRow("ends at nul") << T(std::string("a\0b", 3)) << T("a") << 0;
  QTest::newRow("nul-led is empty") << T(std::string("\0b", 2)) << T() << 0;
}

void TestText::compareTreatsAbsentAsEmpty() {
  QFETCH(std::optional<std::string>, a);
  QFETCH(std::optional<std::string>, b);
  QFETCH(int, result);
  QCOMPARE(draw::textCompare(a, b), result);
}

void TestText::bytesToTextEndsAtFirstNul() {
  QCOMPARE(draw::bytesToText(""), std::optional<std::string>());
  QCOMPARE(draw::bytesToText(std::string_view("\0ab", 3)), std::optional<std::string>());
  QCOMPARE(draw::bytesToText(std::string_view("ab\0cd", 5)), std::optional<std::string>("ab"));
  QCOMPARE(draw::textToBytes(kAbsent), std::string());
  QCOMPARE(draw::textCopy(kWithNul), std::string("ab"));
}

QTEST_APPLESS_MAIN(TestText)
#include "test_text.moc"
