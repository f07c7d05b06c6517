// The pictures: which image of an icon file the tray gets and how its bitmap is read, the
// compiled-in gift box, stage and tray icon, and JPEG decoding that refuses damaged data.
#include "ui/icon_image.h"
#include "ui/jpeg_image.h"
#include "ui/program_icon.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kGreen = 0xff00ff00;
constexpr QRgb kBlue = 0xff0000ff;
constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kClear = 0x00000000; // any pixel with alpha 0

void put16(QByteArray &out, quint16 v) {
  out.append(char(v & 0xff));
  out.append(char(v >> 8));
}

void put32(QByteArray &out, quint32 v) {
  put16(out, quint16(v & 0xffff));
  put16(out, quint16(v >> 16));
}

QByteArray bytes4(int a, int b, int c, int d) {
  const char four[] = {char(a), char(b), char(c), char(d)};
  return QByteArray(four, 4);
}

QByteArray hex(const char *text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

// An icon bitmap: header with the height doubled, palette, colour rows and mask rows bottom-up.
// pixels and masked are top row first; a pixel is a palette index (1, 4, 8 bpp), a 5-5-5 value
// (16), 0xRRGGBB (24) or 0xAARRGGBB (32).
QByteArray bitmap(int width, int height, int bpp, const QList<QRgb> &palette, const QList<quint32> &pixels,
                  const QList<bool> &masked = {}) {
  QByteArray out;
  put32(out, 40);
  put32(out, quint32(width));
  put32(out, quint32(height * 2));
  put16(out, 1);
  put16(out, quint16(bpp));
  for (int i = 0; i < 4; ++i)
    put32(out, 0);
  put32(out, quint32(palette.size()));
  put32(out, 0);
  for (QRgb c : palette)
    out += bytes4(qBlue(c), qGreen(c), qRed(c), 0);
  const int stride = (width * bpp + 31) / 32 * 4;
  for (int y = height - 1; y >= 0; --y) {
    QByteArray row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      const quint32 v = pixels[y * width + x];
      switch (bpp) {
      case 1:
        row[x / 8] = char(row[x / 8] | (v & 1) << (7 - x % 8));
        break;
      case 4:
        row[x / 2] = char(row[x / 2] | v << (x % 2 ? 0 : 4));
        break;
      case 8:
        row[x] = char(v);
        break;
      case 16:
        row[2 * x] = char(v & 0xff), row[2 * x + 1] = char(v >> 8);
        break;
      default:
        row[bpp / 8 * x] = char(qBlue(v)), row[bpp / 8 * x + 1] = char(qGreen(v)), row[bpp / 8 * x + 2] = char(qRed(v));
        if (bpp == 32)
          row[4 * x + 3] = char(qAlpha(v));
      }
    }
    out += row;
  }
  const int maskStride = (width + 31) / 32 * 4;
  for (int y = height - 1; y >= 0; --y) {
    QByteArray row(maskStride, '\0');
    for (int x = 0; x < width; ++x)
      if (masked.value(y * width + x))
        row[x / 8] = char(row[x / 8] | 0x80 >> (x % 8));
    out += row;
  }
  return out;
}

QByteArray solid(int side, QRgb colour) { return bitmap(side, side, 32, {}, QList<quint32>(side * side, colour)); }

struct Entry {
  int width;
  int colours;
  QByteArray body;
  qint64 sizeChange = 0; // stated size minus the real size
  std::optional<quint32> offset = {};
  int bpp = 32;
};

QByteArray ico(const QList<Entry> &entries, quint16 reserved = 0, quint16 type = 1) {
  QByteArray out;
  put16(out, reserved);
  put16(out, type);
  put16(out, quint16(entries.size()));
  quint32 offset = quint32(6 + 16 * entries.size());
  for (const Entry &e : entries) {
    out += bytes4(e.width, e.width, e.colours, 0);
    put16(out, 1);
    put16(out, quint16(e.bpp));
    put32(out, quint32(e.body.size() + e.sizeChange));
    put32(out, e.offset.value_or(offset));
    offset += quint32(e.body.size());
  }
  for (const Entry &e : entries)
    out += e.body;
  return out;
}

QByteArray pngBytes(int side, QRgb colour) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray resource(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 le32(const QByteArray &data, qsizetype at) {
  return quint8(data[at]) | quint8(data[at + 1]) << 8 | quint8(data[at + 2]) << 16 |
         quint32(quint8(data[at + 3])) << 24;
}
quint16 le16(const QByteArray &data, qsizetype at) { return quint16(quint8(data[at]) | quint8(data[at + 1]) << 8); }

struct FrameHeader {
  int marker = 0;
  int width = 0;
  int height = 0;
  int components = 0;
  qsizetype at = -1; // where the marker stands
};

// Walks the marker segments up to the first start-of-frame.
FrameHeader frameHeader(const QByteArray &jpeg) {
  qsizetype at = 2;
  while (at + 4 <= jpeg.size() && quint8(jpeg[at]) == 0xff) {
    const int marker = quint8(jpeg[at + 1]);
    const int length = quint8(jpeg[at + 2]) << 8 | quint8(jpeg[at + 3]);
    if (marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc)
      return {marker, quint8(jpeg[at + 7]) << 8 | quint8(jpeg[at + 8]),
              quint8(jpeg[at + 5]) << 8 | quint8(jpeg[at + 6]), quint8(jpeg[at + 9]), at};
    at += 2 + length;
  }
  return {};
}

qsizetype scanStart(const QByteArray &jpeg) { return jpeg.indexOf("\xff\xda") + 20; }

// Runs f with the process's standard error caught; returns what was written there.
template <class F> QByteArray stderrOf(F f) {
  QTemporaryFile sink;
  if (!sink.open())
    return "cannot catch stderr";
  std::fflush(stderr);
  const int saved = dup(2);
  dup2(sink.handle(), 2);
  f();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  sink.seek(0);
  return sink.readAll();
}

} // namespace

class TestImages : public QObject {
  Q_OBJECT

private slots:
  void imageRuleChoosesAndMakesTheImage_data();
  void imageRuleChoosesAndMakesTheImage();
  void trayTries32OnlyWhen16MadeNoImage_data();
  void trayTries32OnlyWhen16MadeNoImage();
  void bitmapPixelsComeOutRight_data();
  void bitmapPixelsComeOutRight();
  void trayPictureHasTheEightImagesInOrder();
  void trayGetsThe16PixelImageWithRealAlpha();
  void picturesAreBaselineRgbAtTheirSizes_data();
  void picturesAreBaselineRgbAtTheirSizes();
  void giftColoursComeOutInRgbOrder();
  void stageLeavesTheNumberAreaLight();
  void damagedJpegGivesNullImageSilently_data();
  void damagedJpegGivesNullImageSilently();
};

void TestImages::imageRuleChoosesAndMakesTheImage_data() {
  QTest::addColumn<QByteArray>("data");
  QTest::addColumn<int>("width");
  QTest::addColumn<QSize>("size"); // invalid: no image
  QTest::addColumn<QRgb>("colour");

  const QByteArray red16 = solid(16, kRed), green16 = solid(16, kGreen), blue32 = solid(32, kBlue);
  const QByteArray white48 = solid(48, kWhite);
  const QSize none;
  QTest::newRow("first qualifying 16 wins over a later one")
      << ico({{32, 0, blue32}, {16, 16, green16}, {16, 16, red16}, {48, 0, white48}}) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("16 wide with 0 colours does not qualify")
      << ico({{16, 0, red16}, {16, 16, green16}, {48, 0, white48}}) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("colour count 15: the last entry")
      << ico({{16, 15, green16}, {32, 0, blue32}}) << 16 << QSize(32, 32) << kBlue;
  QTest::newRow("colour count 16 qualifies")
      << ico({{16, 16, green16}, {32, 0, blue32}}) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("colour count 255 qualifies")
      << ico({{16, 255, green16}, {32, 0, blue32}}) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("none qualifies: the last entry")
      << ico({{48, 16, white48}, {16, 0, red16}, {32, 0, blue32}}) << 16 << QSize(32, 32) << kBlue;
  QTest::newRow("width 32 asked for") << ico({{16, 16, green16}, {32, 16, blue32}, {48, 0, white48}}) << 32
                                      << QSize(32, 32) << kBlue;
  QTest::newRow("cursor file") << ico({{16, 16, green16}}, 0, 2) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("size from the bitmap header, not the directory")
      << ico({{16, 16, solid(20, kGreen)}}) << 16 << QSize(20, 20) << kGreen;
  QTest::newRow("PNG entry") << ico({{16, 16, pngBytes(16, kGreen)}, {32, 0, blue32}}) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("chosen entry broken: no other entry tried")
      << ico({{16, 16, QByteArray(80, '\x07')}, {16, 0, red16}}) << 16 << none << kClear;

  QTest::newRow("reserved 1") << ico({{16, 16, green16}}, 1) << 16 << none << kClear;
  QTest::newRow("type 0") << ico({{16, 16, green16}}, 0, 0) << 16 << none << kClear;
  QTest::newRow("type 3") << ico({{16, 16, green16}}, 0, 3) << 16 << none << kClear;
  QTest::newRow("count 0") << ico({{16, 16, green16}}).replace(4, 2, QByteArray(2, '\0')) << 16 << none << kClear;
  QTest::newRow("empty") << QByteArray() << 16 << none << kClear;
  QTest::newRow("header cut to 5 bytes") << ico({{16, 16, green16}}).left(5) << 16 << none << kClear;
  QTest::newRow("directory cut short") << ico({{16, 16, green16}, {32, 0, blue32}}).left(6 + 16 + 8) << 16 << none
                                       << kClear;

  QTest::newRow("offset beyond the data") << ico({{16, 16, green16, 0, 1u << 20}}) << 16 << none << kClear;
  QTest::newRow("offset at the end of the data")
      << ico({{16, 16, green16, 0, quint32(6 + 16 + green16.size())}}) << 16 << none << kClear;
  QTest::newRow("offset 0xffffffff") << ico({{16, 16, green16, 0, 0xffffffffu}}) << 16 << none << kClear;
  QTest::newRow("stated size beyond the data, data whole: second try")
      << ico({{16, 16, green16, 1000}}) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("stated size 0xffffffff, data whole: second try")
      << ico({{16, 16, green16, 0xffffffffLL - green16.size()}}) << 16 << QSize(16, 16) << kGreen;
  QTest::newRow("stated size beyond the data, data cut")
      << ico({{16, 16, green16, 1000}}).chopped(8) << 16 << none << kClear;
  QTest::newRow("stated size too small: second try") << ico({{16, 16, green16, -40}}) << 16 << QSize(16, 16) << kGreen;
  const QByteArray red16at16 = bitmap(16, 16, 16, {}, QList<quint32>(256, 0x7c00));
  QTest::newRow("16 bpp") << ico({{16, 16, red16at16, 0, {}, 16}}) << 16 << QSize(16, 16) << kRed;
  QTest::newRow("16 bpp, stated size too small: no second try")
      << ico({{16, 16, red16at16, -40, {}, 16}}) << 16 << none << kClear;
}

void TestImages::imageRuleChoosesAndMakesTheImage() {
  QFETCH(QByteArray, data);
  QFETCH(int, width);
  QFETCH(QSize, size);
  QFETCH(QRgb, colour);
  const QImage image = ui::iconImageForWidth(data, width);
  if (!size.isValid()) {
    QVERIFY(image.isNull());
    return;
  }
  QCOMPARE(image.size(), size);
  QCOMPARE(image.pixel(0, 0), colour);
  QCOMPARE(image.pixel(size.width() - 1, size.height() - 1), colour);
}

void TestImages::trayTries32OnlyWhen16MadeNoImage_data() {
  QTest::addColumn<QByteArray>("data");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QRgb>("colour");

  const QByteArray broken(60, '\0');
  QTest::newRow("16 made an image") << ico({{32, 16, solid(32, kBlue)}, {16, 16, solid(16, kGreen)}}) << QSize(16, 16)
                                    << kGreen;
  QTest::newRow("16 fell back to the last entry, which worked")
      << ico({{32, 16, solid(32, kBlue)}, {48, 0, solid(48, kWhite)}}) << QSize(48, 48) << kWhite;
  QTest::newRow("16 made nothing: 32") << ico({{32, 16, solid(32, kBlue)}, {16, 0, broken}}) << QSize(32, 32) << kBlue;
  QTest::newRow("qualifying 16 broken: 32")
      << ico({{16, 16, broken}, {32, 16, solid(32, kBlue)}, {48, 0, broken}}) << QSize(32, 32) << kBlue;
  QTest::newRow("both make nothing") << ico({{32, 16, broken}, {16, 0, broken}}) << QSize() << kClear;
  QTest::newRow("bad header") << ico({{16, 16, solid(16, kGreen)}}, 0, 3) << QSize() << kClear;
}

void TestImages::trayTries32OnlyWhen16MadeNoImage() {
  QFETCH(QByteArray, data);
  QFETCH(QSize, size);
  QFETCH(QRgb, colour);
  const QImage image = ui::trayImage(data);
  if (!size.isValid()) {
    QVERIFY(image.isNull());
    return;
  }
  QCOMPARE(image.size(), size);
  QCOMPARE(image.pixel(1, 1), colour);
}

void TestImages::bitmapPixelsComeOutRight_data() {
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QList<QRgb>>("pixels"); // top row first

  // Written out by hand so that nibble order, row order, mask bits and BGR order are checked
  // against the format rather than against the test's own bitmap writer: 3x2 at 4 bpp,
  // palette black, red, green, blue, white and 11 unused; top row red, green, (masked) blue;
  // bottom row white, black, red.
  const QByteArray fourBpp = hex("28000000 03000000 04000000 0100 0400 00000000 00000000 00000000 00000000 "
                                 "00000000 00000000"
                                 "00000000 0000ff00 00ff0000 ff000000 ffffff00") +
                             QByteArray(44, '\0') +
                             hex("40100000 12300000"   // colour rows, bottom first
                                 "00000000 20000000"); // mask rows, bottom first
  QTest::newRow("4 bpp, hand-written") << fourBpp << QSize(3, 2)
                                       << QList<QRgb>{kRed, kGreen, kClear, kWhite, kBlack, kRed};
  QTest::newRow("8 bpp, 3-colour palette")
      << bitmap(3, 2, 8, {kRed, kGreen, kBlue}, {0, 1, 2, 2, 2, 0}, {false, false, false, true, false, false})
      << QSize(3, 2) << QList<QRgb>{kRed, kGreen, kBlue, kClear, kBlue, kRed};
  QTest::newRow("8 bpp, index beyond the palette is black")
      << bitmap(2, 1, 8, {kRed, kGreen}, {1, 200}) << QSize(2, 1) << QList<QRgb>{kGreen, kBlack};
  QTest::newRow("1 bpp across a byte") << bitmap(10, 1, 1, {kBlack, kWhite}, {1, 0, 0, 0, 0, 0, 0, 1, 1, 0},
                                                 {false, true})
                                       << QSize(10, 1) << QList<QRgb>{kWhite, kClear, kBlack, kBlack, kBlack,
                                                                      kBlack, kBlack, kWhite, kWhite, kBlack};
  QTest::newRow("16 bpp 5-5-5") << bitmap(3, 1, 16, {}, {0x7c00, 0x03e0, 0x001f}) << QSize(3, 1)
                                << QList<QRgb>{kRed, kGreen, kBlue};
  QTest::newRow("24 bpp with mask") << bitmap(2, 2, 24, {}, {0xff0000, 0x00ff00, 0x0000ff, 0xffffff},
                                              {false, false, false, true})
                                    << QSize(2, 2) << QList<QRgb>{kRed, kGreen, kBlue, kClear};
  QTest::newRow("32 bpp: alpha used, mask ignored")
      << bitmap(3, 1, 32, {}, {0x80ff0000, 0x0000ff00, 0xff0000ff}, {true, false, true}) << QSize(3, 1)
      << QList<QRgb>{0x80ff0000, kClear, kBlue};
  QTest::newRow("32 bpp: alpha all zero, the mask decides")
      << bitmap(3, 1, 32, {}, {0x00ff0000, 0x0000ff00, 0x000000ff}, {false, true, false}) << QSize(3, 1)
      << QList<QRgb>{kRed, kClear, kBlue};
}

void TestImages::bitmapPixelsComeOutRight() {
  QFETCH(QByteArray, body);
  QFETCH(QSize, size);
  QFETCH(QList<QRgb>, pixels);
  const QImage image = ui::iconImageForWidth(ico({{16, 16, body}}), 16);
  QCOMPARE(image.size(), size);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      const QRgb want = pixels[y * size.width() + x];
      const QRgb got = image.pixel(x, y);
      if (qAlpha(want) == 0 ? qAlpha(got) != 0 : got != want)
        QFAIL(
            qPrintable(QStringLiteral("pixel (%1, %2) is %3, not %4").arg(x).arg(y).arg(got, 8, 16).arg(want, 8, 16)));
    }
}

void TestImages::trayPictureHasTheEightImagesInOrder() {
  const QByteArray data = resource(QStringLiteral(":/assets/tray.ico"));
  QCOMPARE(data.size(), 91782);
  QCOMPARE(le16(data, 0), 0);
  QCOMPARE(le16(data, 2), 1);
  QCOMPARE(le16(data, 4), 8);
  struct Want {
    int side, colours, bpp;
  };
  const Want want[] = {{48, 16, 4},  {48, 0, 8},  {32, 0, 8},  {16, 0, 8},
                       {128, 0, 32}, {48, 0, 32}, {32, 0, 32}, {16, 0, 32}};
  qsizetype next = 6 + 16 * 8;
  for (int i = 0; i < 8; ++i) {
    const qsizetype e = 6 + 16 * i;
    QCOMPARE(quint8(data[e]), want[i].side);
    QCOMPARE(quint8(data[e + 1]), want[i].side);
    QCOMPARE(quint8(data[e + 2]), want[i].colours);
    QCOMPARE(le16(data, e + 6), want[i].bpp);
    const qsizetype size = le32(data, e + 8), offset = le32(data, e + 12);
    QCOMPARE(offset, next);
    next = offset + size;
    QVERIFY(next <= data.size());
    // A BMP image: info header, width, doubled height, depth; then colour bitmap, palette and mask fill the entry.
    const int side = want[i].side, bpp = want[i].bpp;
    QCOMPARE(le32(data, offset), 40u);
    QCOMPARE(le32(data, offset + 4), quint32(side));
    QCOMPARE(le32(data, offset + 8), quint32(2 * side));
    QCOMPARE(le16(data, offset + 14), bpp);
    const qsizetype palette = bpp <= 8 ? 4 << bpp : 0;
    QCOMPARE(size, 40 + palette + (side * bpp + 31) / 32 * 4 * side + (side + 31) / 32 * 4 * side);
    QVERIFY(!ui::iconImageForWidth(ico({{side, 16, data.mid(offset, size)}}), side).isNull());
  }
  QCOMPARE(next, data.size());
}

void TestImages::trayGetsThe16PixelImageWithRealAlpha() {
  const QImage image = ui::trayImage(resource(QStringLiteral(":/assets/tray.ico")));
  QCOMPARE(image.size(), QSize(16, 16));
  QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
  QCOMPARE(qAlpha(image.pixel(8, 8)), 255);
  // Only the 32-bit images have alpha between 0 and 255: the round edge is smooth.
  int partial = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      partial += qAlpha(image.pixel(x, y)) > 0 && qAlpha(image.pixel(x, y)) < 255;
  QVERIFY(partial > 0);
  // A golden flame at the centre of a dark red button.
  const QRgb flame = image.pixel(8, 7), button = image.pixel(3, 6);
  QVERIFY2(qRed(flame) > 200 && qGreen(flame) > 120 && qBlue(flame) < 160, qPrintable(QString::number(flame, 16)));
  QVERIFY2(qRed(button) > 80 && qGreen(button) < 60, qPrintable(QString::number(button, 16)));

  const QIcon icon = ui::programIcon();
  QVERIFY(!icon.isNull());
  QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
  QCOMPARE(icon.pixmap(16, 16).toImage().pixel(8, 8), image.pixel(8, 8));
}

void TestImages::picturesAreBaselineRgbAtTheirSizes_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QSize>("size");
  QTest::newRow("gift") << QStringLiteral(":/assets/gift.jpg") << QSize(50, 53);
  QTest::newRow("stage") << QStringLiteral(":/assets/stage.jpg") << QSize(1024, 768);
}

void TestImages::picturesAreBaselineRgbAtTheirSizes() {
  QFETCH(QString, path);
  QFETCH(QSize, size);
  const QByteArray bytes = resource(path);
  const FrameHeader frame = frameHeader(bytes);
  QCOMPARE(frame.marker, 0xc0); // baseline DCT, not progressive
  QCOMPARE(frame.components, 3);
  QCOMPARE(QSize(frame.width, frame.height), size);
  QVERIFY(bytes.size() < 250 * 1024);
  const QImage image = ui::decodeJpegResource(path);
  QCOMPARE(image.size(), size);
  QVERIFY(!image.hasAlphaChannel());
  QVERIFY(ui::decodeJpegResource(path + QStringLiteral(".missing")).isNull());
}

void TestImages::giftColoursComeOutInRgbOrder() {
  const QImage gift = ui::decodeJpegResource(QStringLiteral(":/assets/gift.jpg"));
  QCOMPARE(gift.size(), QSize(50, 53));
  const QRgb box = gift.pixel(14, 36), ribbon = gift.pixel(25, 36), background = gift.pixel(2, 30);
  QVERIFY2(qRed(box) > 160 && qGreen(box) < 80 && qBlue(box) < 80, qPrintable(QString::number(box, 16)));
  QVERIFY2(qGreen(ribbon) > 100 && qRed(ribbon) < 100 && qBlue(ribbon) < 120, qPrintable(QString::number(ribbon, 16)));
  QVERIFY2(qRed(background) > 200 && qGreen(background) > 200 && qBlue(background) > 180,
           qPrintable(QString::number(background, 16)));
}

void TestImages::stageLeavesTheNumberAreaLight() {
  // The red number is drawn over y 48-176 in the middle: the picture there must be light enough
  // for pure red to stand out, not another red.
  const QImage stage = ui::decodeJpegResource(QStringLiteral(":/assets/stage.jpg"));
  QCOMPARE(stage.size(), QSize(1024, 768));
  qint64 green = 0, count = 0;
  for (int y = 64; y < 160; ++y)
    for (int x = 420; x < 652; ++x, ++count)
      green += qGreen(stage.pixel(x, y));
  QVERIFY2(green / count > 150, qPrintable(QString::number(green / count)));
}

void TestImages::damagedJpegGivesNullImageSilently_data() {
  QTest::addColumn<QByteArray>("bytes");
  const QByteArray gift = resource(QStringLiteral(":/assets/gift.jpg"));
  const QByteArray stage = resource(QStringLiteral(":/assets/stage.jpg"));
  QVERIFY(!ui::decodeJpeg(gift).isNull() && !ui::decodeJpeg(stage).isNull());
  QTest::newRow("empty") << QByteArray();
  QTest::newRow("text") << QByteArray("not a picture at all");
  QTest::newRow("PNG") << pngBytes(8, kRed);
  QTest::newRow("start marker only") << gift.left(2);
  QTest::newRow("cut in the headers") << gift.left(100);
  QTest::newRow("cut at the start of the scan") << gift.left(scanStart(gift));
  QTest::newRow("cut in the middle") << stage.left(stage.size() / 2);
  QTest::newRow("cut before the end marker") << stage.chopped(2);
  QTest::newRow("cut in the end marker") << gift.chopped(1);
  QByteArray zeroWidth = gift;
  zeroWidth[frameHeader(gift).at + 7] = 0;
  zeroWidth[frameHeader(gift).at + 8] = 0;
  QTest::newRow("frame width 0") << zeroWidth;
  QByteArray huge = stage;
  huge.replace(frameHeader(stage).at + 5, 4, hex("ff00 ff00"));
  QTest::newRow("frame 65280 x 65280") << huge;
  QByteArray ended = stage;
  ended.replace(stage.size() / 2, 2, "\xff\xd9");
  QTest::newRow("end marker in the middle of the scan") << ended;
  QByteArray noTables = gift;
  const qsizetype dqt = gift.indexOf("\xff\xdb");
  noTables.remove(dqt, 2 + (quint8(gift[dqt + 2]) << 8 | quint8(gift[dqt + 3])));
  QTest::newRow("quantisation tables left out") << noTables;
}

void TestImages::damagedJpegGivesNullImageSilently() {
  QFETCH(QByteArray, bytes);
  QImage image;
  const QByteArray printed = stderrOf([&] { image = ui::decodeJpeg(bytes); });
  QVERIFY(image.isNull());
  QCOMPARE(printed, QByteArray());
}

QTEST_MAIN(TestImages)
#include "test_images.moc"
