// Text to number and truncate to integer: what "确定" stores for a typed text.

#include "draw/gbk.h"
#include "draw/number.h"

#include <QtTest>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

using namespace std::string_literals;

Q_DECLARE_METATYPE(std::string)

class TestNumber : public QObject {
  Q_OBJECT

private slots:
  void personCountFromText_data();
  void personCountFromText();
  void grammarCorners_data();
  void grammarCorners();
  void roundsCorrectly_data();
  void roundsCorrectly();
  void overflowAndUnderflow();
  void truncate_data();
  void truncate();
  void decimalPointIgnoresProcessLocale();
};

// Texts as the edit box hands them over: GBK bytes. Full-width forms and the ideographic
// space are written as bytes, since those bytes are what the grammar reads.
void TestNumber::personCountFromText_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<std::int32_t>("count");

  QTest::newRow("empty") << ""s << 0;
  QTest::newRow("abc") << "abc"s << 0;
  QTest::newRow("50") << "50"s << 50;
  QTest::newRow("3.9") << "3.9"s << 3;
  QTest::newRow("-3.9") << "-3.9"s << -3;
  QTest::newRow("-5") << "-5"s << -5;
  QTest::newRow("blanks around 12 then a Chinese character") << "  12 "s + draw::gbk("人") << 12;
  QTest::newRow("+7") << "+7"s << 7;
  QTest::newRow(".5") << ".5"s << 0;
  QTest::newRow("1e3") << "1e3"s << 1000;
  QTest::newRow("2d2") << "2d2"s << 200;
  QTest::newRow("5e") << "5e"s << 5;
  QTest::newRow("0x1F") << "0x1F"s << 0;
  QTest::newRow("1,000") << "1,000"s << 1;
  QTest::newRow("full-width 50") << "\xA3\xB5\xA3\xB0"s << 50;
  QTest::newRow("ideographic space then 50") << "\xA1\xA1"
                                                "50"s
                                             << 50;
  QTest::newRow("2147483647") << "2147483647"s << 2147483647;
  QTest::newRow("2147483648") << "2147483648"s << std::numeric_limits<std::int32_t>::min();
  QTest::newRow("3000000000") << "3000000000"s << -1294967296;
  QTest::newRow("4294967296") << "4294967296"s << 0;
  QTest::newRow("10000000000") << "10000000000"s << 1410065408;
  QTest::newRow("1e19") << "1e19"s << 0;
  QTest::newRow("1e999") << "1e999"s << 0;
}

void TestNumber::personCountFromText() {
  QFETCH(std::string, text);
  QFETCH(std::int32_t, count);
  QCOMPARE(draw::truncateToInteger(draw::textToNumber(text)), count);
}

void TestNumber::grammarCorners_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<double>("value");

  QTest::newRow("lead byte at the end ends the text") << "7\xA3"s << 7.0;
  QTest::newRow("full-width lead byte alone") << "\xA3"s << 0.0;
  QTest::newRow("exponent sign without digits") << "1e+"s << 1.0;
  QTest::newRow("exponent minus without digits") << "4E-x"s << 4.0;
  QTest::newRow("capital D exponent with sign") << "3D-1"s << 0.3;
  QTest::newRow("negative fraction with negative exponent") << "-.5e-3"s << -0.0005;
  QTest::newRow("digits then a point") << "5."s << 5.0;
  QTest::newRow("point then exponent needs a digit") << ".e5"s << 0.0;
  QTest::newRow("lone point") << "."s << 0.0;
  QTest::newRow("lone plus") << "+"s << 0.0;
  QTest::newRow("lone minus with blank before") << " -"s << 0.0;
  QTest::newRow("second point ends the number") << "1.2.3"s << 1.2;
  QTest::newRow("two signs") << "--5"s << 0.0;
  QTest::newRow("sign then blank") << "- 5"s << 0.0;
  QTest::newRow("all white space kinds") << " \t\n\v\f\r8"s << 8.0;
  QTest::newRow("full-width minus and five") << "\xA3\xAD\xA3\xB5"s << -5.0;
  QTest::newRow("full-width point and e") << "\xA3\xB1\xA3\xAE\xA3\xB5\xA3\xE5\xA3\xB2"s << 150.0;
  QTest::newRow("full-width D exponent") << "2\xA3\xC4"
                                            "3"s
                                         << 2000.0;
  QTest::newRow("full-width comma ends the number") << "1\xA3\xAC"
                                                       "5"s
                                                    << 1.0;
  QTest::newRow("mixed ideographic and ASCII blanks") << " \xA1\xA1\t9"s << 9.0;
  QTest::newRow("two-byte character before digits") << draw::gbk("人") + "12"s << 0.0;
  QTest::newRow("digit as a trail byte is no digit") << "\x81"
                                                        "5"s
                                                     << 0.0;
  QTest::newRow("two-byte character ends the number") << "12"s + draw::gbk("人") + "3"s << 12.0;
  QTest::newRow("full-width lead with a low trail byte") << "\xA3"
                                                            "5"s
                                                         << 0.0;
  QTest::newRow("NUL ends the text") << "1\0"
                                        "2"s
                                     << 1.0;
  QTest::newRow("hex prefix reads the zero") << "0x10"s << 0.0;
  QTest::newRow("infinity word") << "inf"s << 0.0;
  QTest::newRow("infinity word with sign") << "-infinity"s << 0.0;
  QTest::newRow("nan word") << "nan"s << 0.0;
  QTest::newRow("leading zeros") << "007"s << 7.0;
  QTest::newRow("exponent with leading zeros") << "1e0002"s << 100.0;
}

void TestNumber::grammarCorners() {
  QFETCH(std::string, text);
  QFETCH(double, value);
  const double got = draw::textToNumber(text);
  QVERIFY2(got == value, qPrintable(QString::number(got, 'g', 17)));
}

// Each text sits just beside a halfway point between two doubles or needs all its digits;
// a value gathered digit by digit in floating point gets these wrong.
void TestNumber::roundsCorrectly_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<double>("value");

  QTest::newRow("2^53 + 1 rounds to even") << "9007199254740993"s << 9007199254740992.0;
  QTest::newRow("2^53 + 1 and a little rounds up") << "9007199254740993.0000000001"s << 9007199254740994.0;
  QTest::newRow("2^53 + 3 rounds to even upward") << "9007199254740995"s << 9007199254740996.0;
  QTest::newRow("0.1") << "0.1"s << 0.1;
  QTest::newRow("many digits of 1/3") << "0.333333333333333333333333333333"s << 1.0 / 3.0;
  QTest::newRow("d exponent rounds like e") << "123456789012345678901234567890d-10"s << 12345678901234567890.1234567890;
  QTest::newRow("largest double") << "1.7976931348623157e308"s << std::numeric_limits<double>::max();
  QTest::newRow("smallest normal") << "2.2250738585072014e-308"s << std::numeric_limits<double>::min();
}

void TestNumber::roundsCorrectly() {
  QFETCH(std::string, text);
  QFETCH(double, value);
  const double got = draw::textToNumber(text);
  QVERIFY2(got == value, qPrintable(QString::number(got, 'g', 17)));
}

void TestNumber::overflowAndUnderflow() {
  QCOMPARE(draw::textToNumber("1e999"), std::numeric_limits<double>::infinity());
  QCOMPARE(draw::textToNumber("-1e999"), -std::numeric_limits<double>::infinity());
  QCOMPARE(draw::textToNumber("1.8e308"), std::numeric_limits<double>::infinity());
  QCOMPARE(draw::textToNumber("1e99999999999999999999"), std::numeric_limits<double>::infinity());

  const double tiny = draw::textToNumber("1e-400");
  QCOMPARE(tiny, 0.0);
  QVERIFY(!std::signbit(tiny));
  QVERIFY(std::signbit(draw::textToNumber("-1e-400")));
  QCOMPARE(draw::textToNumber("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
  QCOMPARE(draw::textToNumber("1e-99999999999999999999"), 0.0);
}

void TestNumber::truncate_data() {
  QTest::addColumn<double>("x");
  QTest::addColumn<std::int32_t>("count");

  const double inf = std::numeric_limits<double>::infinity();
  QTest::newRow("fraction cut toward zero") << 3.9 << 3;
  QTest::newRow("negative fraction cut toward zero") << -3.9 << -3;
  QTest::newRow("just below one") << 0.999999 << 0;
  QTest::newRow("negative zero") << -0.0 << 0;
  QTest::newRow("int32 minimum") << -2147483648.0 << std::numeric_limits<std::int32_t>::min();
  QTest::newRow("below int32 minimum wraps") << -2147483649.0 << 2147483647;
  QTest::newRow("2^32 + 5 keeps the low bits") << 4294967301.0 << 5;
  QTest::newRow("largest double below 2^63 is in range") << 9223372036854774784.0 << -1024;
  QTest::newRow("9223372036854775807 reads as 2^63, out of range") << 9223372036854775807.0 << 0;
  QTest::newRow("-2^63 is in range") << -9223372036854775808.0 << 0;
  QTest::newRow("-2^63 + 2^10 is in range") << -9223372036854774784.0 << 1024;
  QTest::newRow("below -2^63") << -9223372036854777856.0 << 0;
  QTest::newRow("infinity") << inf << 0;
  QTest::newRow("minus infinity") << -inf << 0;
  QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
  QTest::newRow("largest double") << std::numeric_limits<double>::max() << 0;
}

void TestNumber::truncate() {
  QFETCH(double, x);
  QFETCH(std::int32_t, count);
  QCOMPARE(draw::truncateToInteger(x), count);
}

// A Qt program takes the user's locale at start, and in some locales the decimal point
// is a comma; the edit box's grammar stays the same.
void TestNumber::decimalPointIgnoresProcessLocale() {
  const char *candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"};
  const char *chosen = nullptr;
  for (const char *name : candidates)
    if (std::setlocale(LC_NUMERIC, name)) {
      chosen = name;
      break;
    }
  if (!chosen)
    QSKIP("no locale with a decimal comma installed");
  const double point = draw::textToNumber("3.75");
  const double comma = draw::textToNumber("3,75");
  std::setlocale(LC_NUMERIC, "C");
  QCOMPARE(point, 3.75);
  QCOMPARE(comma, 3.0);
}

QTEST_APPLESS_MAIN(TestNumber)
#include "test_number.moc"
