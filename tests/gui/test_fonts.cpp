// Control fonts: each stored face finds its Debian font, and bold really draws heavier, at
// 96 px too (Qt gives up synthesising bold above 64 px unless the process is prepared).
#include "app/startup.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QPainter>
#include <QTest>

namespace {

int inkPixels(const QFont &font, const QString &text) {
  QImage image(QSize(font.pixelSize() * (text.size() + 2), font.pixelSize() * 2), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(image.rect(), Qt::AlignCenter | Qt::TextSingleLine, text);
  p.end();
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ink += qGray(image.pixel(x, y)) < 128;
  return ink;
}

} // namespace

class FontsTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { ui::installFontSubstitutions(); }

  void controlFontsUseTheDebianFaceAndDrawBoldHeavier_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("pixelHeight");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    const QString song = QStringLiteral("AR PL SungtiL GB");
    const QString kai = QStringLiteral("AR PL KaitiM GB");
    QTest::newRow("number: 宋体 96") << "宋体" << 96 << "0000" << song;
    QTest::newRow("close mark: 楷体_GB2312 96") << "楷体_GB2312" << 96 << "×" << kai;
    QTest::newRow("credit: 楷体 20") << "楷体" << 20 << "欢迎中大奖" << kai;
    QTest::newRow("buttons: 华文行楷 27") << "华文行楷" << 27 << "开始暂停设置" << kai;
  }
  void controlFontsUseTheDebianFaceAndDrawBoldHeavier() {
    QFETCH(QString, face);
    QFETCH(int, pixelHeight);
    QFETCH(QString, text);
    const QByteArray faceUtf8 = face.toUtf8();
    const QFont bold = ui::controlFont(faceUtf8.constData(), pixelHeight, 700);
    const QFont regular = ui::controlFont(faceUtf8.constData(), pixelHeight, 400);
    QTEST(QFontInfo(bold).family(), "family");
    QCOMPARE(QFontInfo(bold).pixelSize(), pixelHeight);
    const int heavy = inkPixels(bold, text);
    const int light = inkPixels(regular, text);
    QVERIFY(light > 0);
    QVERIFY2(heavy >= light * 115 / 100, qPrintable(QStringLiteral("bold %1, regular %2").arg(heavy).arg(light)));
  }
};

int main(int argc, char **argv) {
  app::prepareProcess(); // before the application object: the bold limit is read once
  QApplication application(argc, argv);
  FontsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_fonts.moc"
