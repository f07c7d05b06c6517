// The transparent label kind on a patterned backdrop: clamped properties, see-through
// drawing, the four text effects, layout, mouse presses and the synchronous repaint of the
// area under the label, read back from the window's backing store.
#include "app/startup.h"
#include "draw/gbk.h"
#include "ui/display_text.h"
#include "ui/fonts.h"
#include "ui/transparent_label.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using ui::TransparentLabel;
using LabelChange = std::function<void(TransparentLabel &)>;
Q_DECLARE_METATYPE(LabelChange)

namespace {

const QColor kRed(255, 0, 0);

// A window with a busy background, so anything a label paints over it shows up.
class Backdrop : public QWidget {
public:
  Backdrop() {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(400, 200);
  }

protected:
  void paintEvent(QPaintEvent *) override {
    QPainter p(this);
    for (int y = 0; y < height(); y += 8)
      for (int x = 0; x < width(); x += 8)
        p.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? QColor(0, 128, 0) : QColor(0, 96, 160));
  }
};

QImage rgb(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

// What the screen holds for the window now: its backing store, as the last paints left it.
QImage onScreen(QWidget *window) { return rgb(QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage()); }
// The window drawn afresh from scratch.
QImage drawnAfresh(QWidget *window) { return rgb(window->grab().toImage()); }

// The label's glyphs alone, drawn plain in `colour` on a transparent image.
QImage glyphs(TransparentLabel &label, const QColor &colour) {
  const int effect = label.effect();
  const QColor before = label.textColour();
  label.setEffect(TransparentLabel::Plain);
  label.setTextColour(colour);
  QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  label.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  label.setEffect(effect);
  label.setTextColour(before);
  return image;
}

int maxChannelDifference(const QImage &a, const QImage &b) {
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

// The bounding box of the pixels where `shown` differs from `bare`.
QRect inkBox(const QImage &shown, const QImage &bare) {
  QRect box;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) != bare.pixel(x, y))
        box |= QRect(x, y, 1, 1);
  return box;
}

// Runs of rows holding ink: one per line of text.
int inkBands(const QImage &shown, const QImage &bare) {
  int bands = 0;
  bool inBand = false;
  for (int y = 0; y < shown.height(); ++y) {
    bool ink = false;
    for (int x = 0; x < shown.width() && !ink; ++x)
      ink = shown.pixel(x, y) != bare.pixel(x, y);
    bands += ink && !inBand;
    inBand = ink;
  }
  return bands;
}

} // namespace

class TransparentLabelTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Backdrop> m_window;
  TransparentLabel *m_label = nullptr;

  QImage labelArea() { return drawnAfresh(m_window.get()).copy(m_label->geometry()); }
  QImage bareArea() {
    m_label->hide();
    const QImage bare = labelArea();
    m_label->show();
    return bare;
  }

private slots:
  void initTestCase() { ui::installFontSubstitutions(); }

  void init() {
    m_window = std::make_unique<Backdrop>();
    m_label = new TransparentLabel(m_window.get());
    m_label->setGeometry(40, 30, 320, 120);
    m_label->setLabelFont(ui::controlFont("宋体", 64, 700));
    m_label->setTextColour(kRed);
    m_label->setHorizontalAlignment(TransparentLabel::Centre);
    m_label->setVerticalAlignment(TransparentLabel::Middle);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
  }
  void cleanup() { m_window.reset(); }

  void propertiesAreClampedToTheirRanges_data() {
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("alignment");
    QTest::newRow("far below") << -7 << 0 << 0;
    QTest::newRow("lowest") << 0 << 0 << 0;
    QTest::newRow("inside") << 2 << 2 << 2;
    QTest::newRow("just above alignments") << 3 << 3 << 2;
    QTest::newRow("just above effects") << 4 << 3 << 2;
    QTest::newRow("far above") << 1000 << 3 << 2;
  }
  void propertiesAreClampedToTheirRanges() {
    QFETCH(int, given);
    m_label->setEffect(given);
    m_label->setHorizontalAlignment(given);
    m_label->setVerticalAlignment(given);
    QTEST(m_label->effect(), "effect");
    QTEST(m_label->horizontalAlignment(), "alignment");
    QTEST(m_label->verticalAlignment(), "alignment");
  }

  void textIsHeldAsItsOwnGbkCopy() {
    std::string text = draw::gbk("恭喜张三中奖了！");
    m_label->setLabelText(text);
    text[0] = 'x';
    QCOMPARE(m_label->labelText(), draw::gbk("恭喜张三中奖了！"));
  }

  void emptyTextPaintsNothingAndGlyphsPaintOnlyThemselves() {
    m_label->setLabelText(std::string());
    const QImage bare = bareArea();
    QCOMPARE(labelArea(), bare); // no background of its own
    m_label->setLabelText(draw::gbk("一"));
    const QImage shown = labelArea();
    const QImage ink = glyphs(*m_label, kRed);
    int glyphPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        const bool covered = qAlpha(ink.pixel(x, y)) > 0;
        glyphPixels += covered;
        if (!covered)
          QCOMPARE(shown.pixel(x, y), bare.pixel(x, y)); // the backdrop shows through
      }
    QVERIFY(glyphPixels > 200);
  }

  void ampersandIsDrawnLiterally() {
    m_label->setLabelText("&");
    const QImage bare = bareArea();
    QVERIFY(inkBox(labelArea(), bare).width() > 10); // no mnemonic: the "&" itself shows
  }

  // Each effect is the plain glyphs in white or black at an offset, then in the text colour
  // at an offset, composed over the backdrop in that order.
  void effectsPutTheirCopiesAtTheirOffsets_data() {
    QTest::addColumn<int>("effect");
    QTest::addColumn<QColor>("copyColour");
    QTest::addColumn<QPoint>("copyAt");
    QTest::addColumn<QPoint>("textAt");
    QTest::addColumn<int>("pixelHeight");
    QTest::addColumn<QString>("text");
    // 64 px is drawn by Qt's own glyph cache, 96 px from the label's glyph images. In "WW8"
    // the two W overlap, so one character's copy lies under the next one's text.
    for (int px : {64, 96})
      for (const QString &text : {QStringLiteral("品8"), QStringLiteral("WW8")}) {
        const QByteArray row = " " + QByteArray::number(px) + " px " + text.toUtf8();
        QTest::newRow("engraved" + row) << int(TransparentLabel::Engraved) << QColor(Qt::white) << QPoint(1, 1)
                                        << QPoint(0, 0) << px << text;
        QTest::newRow("embossed" + row) << int(TransparentLabel::Embossed) << QColor(Qt::white) << QPoint(0, 0)
                                        << QPoint(1, 1) << px << text;
        QTest::newRow("shadow" + row) << int(TransparentLabel::Shadow) << QColor(Qt::black) << QPoint(2, 2)
                                      << QPoint(0, 0) << px << text;
      }
  }
  void effectsPutTheirCopiesAtTheirOffsets() {
    QFETCH(int, effect);
    QFETCH(QColor, copyColour);
    QFETCH(QPoint, copyAt);
    QFETCH(QPoint, textAt);
    QFETCH(int, pixelHeight);
    QFETCH(QString, text);
    m_label->setLabelFont(ui::controlFont("宋体", pixelHeight, 700));
    m_label->setLabelText(ui::gbkText(text));
    const QImage bare = bareArea();
    const QImage copy = glyphs(*m_label, copyColour);
    const QImage coloured = glyphs(*m_label, kRed);
    QImage expected = bare.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
      QPainter p(&expected);
      p.drawImage(copyAt, copy);
      p.drawImage(textAt, coloured);
    }
    expected = rgb(expected);
    m_label->setEffect(effect);
    const QImage shown = labelArea();
    QVERIFY(maxChannelDifference(shown, expected) <= 3);
    m_label->setEffect(TransparentLabel::Plain);
    QVERIFY(maxChannelDifference(labelArea(), expected) > 100); // the copy really shows
  }

  void layoutFollowsAlignmentAndWrap_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("place"); // where the ink lies: h then v, each of l/c/r and t/m/b
    QTest::newRow("left top") << "ab" << 0 << 0 << false << 1 << "lt";
    QTest::newRow("centre middle") << "ab" << 1 << 1 << false << 1 << "cm";
    QTest::newRow("right bottom") << "ab" << 2 << 2 << false << 1 << "rb";
    QTest::newRow("single line never breaks") << "bbbb dddd hhhh" << 0 << 0 << false << 1 << "lt";
    QTest::newRow("wrap breaks between words") << "bbbbbb dddddd" << 0 << 2 << true << 2 << "lt";
    QTest::newRow("wrap keeps a long word whole") << "bdbdbdbdbdbd" << 0 << 0 << true << 1 << "lt";
    QTest::newRow("wrap ignores vertical") << "ab" << 2 << 2 << true << 1 << "rt";
  }
  void layoutFollowsAlignmentAndWrap() {
    QFETCH(QString, text);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    QFETCH(bool, wrap);
    QFETCH(QString, place);
    m_label->setGeometry(40, 10, 200, 180);
    m_label->setLabelFont(ui::controlFont("宋体", 40, 400));
    m_label->setHorizontalAlignment(horizontal);
    m_label->setVerticalAlignment(vertical);
    m_label->setWordWrap(wrap);
    m_label->setLabelText(ui::gbkText(text));
    const QImage bare = bareArea();
    const QImage shown = labelArea();
    QTEST(inkBands(shown, bare), "lines");
    const QRect box = inkBox(shown, bare);
    const int w = m_label->width();
    const int h = m_label->height();
    const char hp = place[0].toLatin1();
    const char vp = place[1].toLatin1();
    if (hp == 'l')
      QVERIFY(box.left() < 8);
    if (hp == 'c')
      QVERIFY(std::abs(box.center().x() - w / 2) <= 3);
    if (hp == 'r')
      QVERIFY(box.right() > w - 8);
    if (vp == 't')
      QVERIFY(box.top() < 16);
    if (vp == 'm')
      QVERIFY(std::abs(box.center().y() - h / 2) <= 10);
    if (vp == 'b')
      QVERIFY(box.bottom() > h - 16);
  }

  void pressesAnywhereInTheRectangleReachTheLabel_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::KeyboardModifiers>("keys");
    QTest::addColumn<int>("bits");
    QTest::newRow("blank corner, no keys") << QPoint(2, 2) << Qt::KeyboardModifiers() << 0;
    QTest::newRow("ctrl") << QPoint(300, 100) << Qt::KeyboardModifiers(Qt::ControlModifier) << 1;
    QTest::newRow("shift") << QPoint(160, 60) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 2;
    QTest::newRow("ctrl alt") << QPoint(10, 110) << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier) << 5;
  }
  void pressesAnywhereInTheRectangleReachTheLabel() {
    QFETCH(QPoint, at);
    QFETCH(Qt::KeyboardModifiers, keys);
    m_label->setLabelText("8");
    QCOMPARE(m_window->childAt(m_label->geometry().topLeft() + at), m_label);
    QSignalSpy presses(m_label, &TransparentLabel::leftButtonPressed);
    QTest::mousePress(m_label, Qt::RightButton, keys, at);
    QTest::mouseRelease(m_label, Qt::RightButton, keys, at);
    QCOMPARE(presses.count(), 0);
    QTest::mousePress(m_label, Qt::LeftButton, keys, at);
    QCOMPARE(presses.count(), 1); // on the press, before any release
    QCOMPARE(presses.at(0).at(0).toInt(), at.x());
    QCOMPARE(presses.at(0).at(1).toInt(), at.y());
    QTEST(presses.at(0).at(2).toInt(), "bits");
    QTest::mouseRelease(m_label, Qt::LeftButton, keys, at);
  }

  // Every change is on the screen when the setter returns, with no event processed: the old
  // glyphs are gone and a label lying over this one is drawn again on top.
  void everyChangeRepaintsTheAreaUnderTheLabelAtOnce_data() {
    QTest::addColumn<LabelChange>("change");
    QTest::newRow("text") << LabelChange([](TransparentLabel &l) { l.setLabelText("1"); });
    QTest::newRow("empty text") << LabelChange([](TransparentLabel &l) { l.setLabelText(std::string()); });
    QTest::newRow("effect") << LabelChange([](TransparentLabel &l) { l.setEffect(TransparentLabel::Shadow); });
    QTest::newRow("colour") << LabelChange([](TransparentLabel &l) { l.setTextColour(Qt::yellow); });
    QTest::newRow("font") << LabelChange([](TransparentLabel &l) { l.setLabelFont(ui::controlFont("楷体", 30, 400)); });
    QTest::newRow("alignment") << LabelChange([](TransparentLabel &l) { l.setHorizontalAlignment(0); });
    QTest::newRow("vertical") << LabelChange([](TransparentLabel &l) { l.setVerticalAlignment(0); });
    QTest::newRow("wrap") << LabelChange([](TransparentLabel &l) {
      l.setLabelText("88 88");
      l.setWordWrap(true);
    });
    QTest::newRow("move") << LabelChange([](TransparentLabel &l) { l.move(l.pos() + QPoint(13, 7)); });
  }
  void everyChangeRepaintsTheAreaUnderTheLabelAtOnce() {
    QFETCH(LabelChange, change);
    auto *over = new TransparentLabel(m_window.get());
    over->setGeometry(300, 10, 90, 60); // over the label's top right corner
    over->setLabelFont(ui::controlFont("楷体_GB2312", 96, 700));
    over->setTextColour(Qt::white);
    over->setHorizontalAlignment(TransparentLabel::Centre);
    over->setVerticalAlignment(TransparentLabel::Middle);
    over->setLabelText(draw::gbk("×"));
    over->show();
    m_label->setLabelText("8888");
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const QImage before = onScreen(m_window.get());
    QCOMPARE(before, drawnAfresh(m_window.get()));

    change(*m_label);
    const QImage after = onScreen(m_window.get());
    QVERIFY(after != before);
    QCOMPARE(after, drawnAfresh(m_window.get()));
    // The overlap still carries the upper label's white ink.
    const QImage overlap = after.copy(QRect(300, 30, 60, 40));
    bool white = false;
    for (int y = 0; y < overlap.height() && !white; ++y)
      for (int x = 0; x < overlap.width() && !white; ++x)
        white = overlap.pixel(x, y) == qRgb(255, 255, 255);
    QVERIFY(white);
  }
};

int main(int argc, char **argv) {
  app::prepareProcess();
  QApplication application(argc, argv);
  TransparentLabelTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_transparent_label.moc"
