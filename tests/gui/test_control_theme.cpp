// The control theme on grabbed widgets: exact colours of push buttons, edit boxes and group
// boxes in every state, the controls it leaves alone, and taking it off again.

#include "ui/control_theme.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

QString hex(int r, int g, int b) { return QColor(r, g, b).name(); }
QString hex(const QColor &colour) { return colour.name(); }
QString at(const QImage &image, int x, int y) { return QColor(image.pixel(x, y)).name(); }

QImage grabOf(QWidget *widget) { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Without antialiasing every glyph pixel has exactly the text colour.
QFont crispFont(int pixels) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QRect inkBox(const QImage &image, const QColor &colour, const QRect &area = QRect()) {
  const QRect scan = area.isNull() ? image.rect() : area;
  QRect box;
  for (int y = scan.top(); y <= scan.bottom(); ++y)
    for (int x = scan.left(); x <= scan.right(); ++x)
      if (QColor(image.pixel(x, y)) == colour)
        box |= QRect(x, y, 1, 1);
  return box;
}

QColor darkenedFace(const QWidget *widget) {
  const QColor face = widget->palette().color(QPalette::Active, QPalette::Button);
  return QColor(std::max(0, face.red() - 32), std::max(0, face.green() - 32), std::max(0, face.blue() - 32));
}

QColor buttonFace(const QWidget *widget) { return widget->palette().color(QPalette::Active, QPalette::Button); }

QColor inverted(const QColor &colour) { return QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue()); }

// A window of its own for each control under test, shown and exposed like the program's windows.
struct Window {
  QWidget widget;
  Window() {
    widget.resize(400, 300);
    widget.move(100, 100);
  }
  template <class T> T *add(T *child, const QRect &geometry) {
    child->setParent(&widget);
    child->setGeometry(geometry);
    return child;
  }
  bool show() {
    widget.show();
    return QTest::qWaitForWindowExposed(&widget);
  }
  bool activate() {
    widget.activateWindow();
    return QTest::qWaitForWindowActive(&widget);
  }
};

QPushButton *plainButton(Window &window, const QString &text = QStringLiteral("Go"), int x = 10) {
  auto *button = window.add(new QPushButton(text), QRect(x, 10, 88, 48));
  button->setFont(crispFont(16));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// A panel like the settings window's: a filled group box holding an edit box and a button.
struct Panel : Window {
  QGroupBox *group = add(new QGroupBox(QStringLiteral("人员设定")), QRect(0, 0, 168, 152));
  QLineEdit *edit = nullptr;
  QPushButton *button = nullptr;
  Panel() {
    group->setFont(crispFont(16));
    QPalette palette = group->palette();
    palette.setColor(QPalette::Window, QColor(236, 236, 236));
    palette.setColor(QPalette::WindowText, QColor(0, 128, 0));
    group->setPalette(palette);
    group->setAutoFillBackground(true);
    edit = new QLineEdit(QStringLiteral("12"), group);
    edit->setGeometry(56, 48, 88, 24);
    button = new QPushButton(QStringLiteral("OK"), group);
    button->setGeometry(64, 96, 48, 24);
  }
};

constexpr int kW = 88;
constexpr int kH = 48;

} // namespace

class TestControlTheme : public QObject {
  Q_OBJECT

private slots:
  void init();
  void cleanup();

  void buttonNormalLook();
  void buttonKeepsItsOwnFont();
  void buttonRingTurnsOrange_data();
  void buttonRingTurnsOrange();
  void focusAddsDottedRectangleOnly();
  void pressedButtonIsFlatAndTextMoves();
  void disabledButtonLook();
  void editBoxFrame_data();
  void editBoxFrame();
  void groupBoxFrameAndCutCorners();
  void groupBoxCaptionGap_data();
  void groupBoxCaptionGap();
  void otherKindsTakeSchemeBorders_data();
  void otherKindsTakeSchemeBorders();
  void unthemedControlsKeepTheirLook_data();
  void unthemedControlsKeepTheirLook();
  void schemeBordersOnExistingAndLaterWindows_data();
  void schemeBordersOnExistingAndLaterWindows();
  void reapplyingLeavesLookUnchanged();
  void removalRestoresFormerLook_data();
  void removalRestoresFormerLook();
  void removalRestoresOtherPlatformStyle();
};

void TestControlTheme::init() { QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion")); }

void TestControlTheme::cleanup() {
  ui::applyControlTheme(0);
  if (QApplication::style()->name().toLower() != QStringLiteral("fusion"))
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void TestControlTheme::buttonNormalLook() {
  Window window;
  QPushButton *button = plainButton(window);
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(window.show());
  const QImage image = grabOf(button);
  const QString face = hex(buttonFace(button));

  // Outer ring of button face, then the border with its corner pixels left out.
  for (const QPoint &p : {QPoint(0, 0), QPoint(0, kH / 2), QPoint(kW / 2, 0), QPoint(kW - 1, kH - 1)})
    QCOMPARE(at(image, p.x(), p.y()), face);
  for (const QPoint &p : {QPoint(1, kH / 2), QPoint(kW - 2, kH / 2), QPoint(kW / 2, 1), QPoint(kW / 2, kH - 2),
                          QPoint(2, 1), QPoint(1, 2)})
    QCOMPARE(at(image, p.x(), p.y()), hex(55, 98, 6));
  for (const QPoint &p : {QPoint(1, 1), QPoint(kW - 2, 1), QPoint(1, kH - 2), QPoint(kW - 2, kH - 2)})
    QCOMPARE(at(image, p.x(), p.y()), face);

  // Face gradient in the 2-pixel ring, centre gradient inside it.
  QCOMPARE(at(image, kW / 2, 2), hex(255, 255, 255));
  QCOMPARE(at(image, kW / 2, kH - 3), hex(226, 223, 214));
  QCOMPARE(at(image, 2, 2), hex(255, 255, 255));
  QCOMPARE(at(image, 5, 4), hex(252, 252, 251));
  QCOMPARE(at(image, 5, kH - 5), hex(236, 225, 201));
  QCOMPARE(at(image, 4, kH / 2), at(image, kW - 5, kH / 2));

  // Black text, centred.
  const QRect ink = inkBox(image, Qt::black);
  QVERIFY(!ink.isEmpty());
  QVERIFY(qAbs((ink.left() + ink.right()) - (kW - 1)) <= 2);
  QVERIFY(qAbs((ink.top() + ink.bottom()) - (kH - 1)) <= 4);
}

void TestControlTheme::buttonKeepsItsOwnFont() {
  Window window;
  QPushButton *button = plainButton(window, QStringLiteral("开始"));
  QFont big = crispFont(27);
  big.setFamily(QStringLiteral("AR PL UKai CN"));
  big.setBold(true);
  button->setFont(big);
  QVERIFY(window.show());
  const QRect before = inkBox(grabOf(button), Qt::black);

  QVERIFY(ui::applyControlTheme(2));
  QCOMPARE(button->font(), big);
  const QRect after = inkBox(grabOf(button), Qt::black);
  QVERIFY(!before.isEmpty());
  QCOMPARE(after.size(), before.size());
}

void TestControlTheme::buttonRingTurnsOrange_data() {
  QTest::addColumn<QString>("state");
  QTest::newRow("under the mouse") << "hover";
  QTest::newRow("focused") << "focus";
  QTest::newRow("default") << "default";
}

void TestControlTheme::buttonRingTurnsOrange() {
  QFETCH(QString, state);
  Window window;
  QPushButton *button = plainButton(window);
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(window.show());
  const QString ringTop = at(grabOf(button), kW / 2, 2);

  if (state == "hover") {
    QVERIFY(button->testAttribute(Qt::WA_Hover));
    QTest::mouseMove(button, QPoint(kW / 2, kH / 2));
    QTRY_VERIFY(button->underMouse());
  } else if (state == "focus") {
    button->setFocusPolicy(Qt::StrongFocus);
    QVERIFY(window.activate());
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
  } else {
    button->setDefault(true);
  }
  // Wait on the repaint the state change asked for, then check the grab.
  QTRY_VERIFY(at(grabOf(button), kW / 2, 2) != ringTop);
  const QImage image = grabOf(button);
  for (const QPoint &p : {QPoint(kW / 2, 2), QPoint(2, 2), QPoint(kW - 3, 2)})
    QCOMPARE(at(image, p.x(), p.y()), hex(255, 240, 207));
  for (const QPoint &p : {QPoint(kW / 2, kH - 3), QPoint(2, kH - 3), QPoint(kW - 3, kH - 3)})
    QCOMPARE(at(image, p.x(), p.y()), hex(229, 151, 0));
  QCOMPARE(at(image, 2, kH / 2), at(image, kW - 3, kH / 2)); // both sides of the ring alike
  QCOMPARE(at(image, 1, kH / 2), hex(55, 98, 6));
  QCOMPARE(at(image, 5, 4), hex(252, 252, 251));
  QCOMPARE(at(image, 5, kH - 5), hex(236, 225, 201));

  if (state == "hover") {
    QTest::mouseMove(&window.widget, QPoint(300, 250));
    QTRY_VERIFY(!button->underMouse());
  }
}

void TestControlTheme::focusAddsDottedRectangleOnly() {
  // Two like buttons with the orange ring: one as the default, one by the focus.
  Window window;
  QPushButton *asDefault = plainButton(window, QStringLiteral("Go"), 10);
  QPushButton *focused = plainButton(window, QStringLiteral("Go"), 120);
  asDefault->setDefault(true);
  focused->setFocusPolicy(Qt::StrongFocus);
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(window.show());
  QVERIFY(window.activate());
  focused->setFocus();
  QTRY_VERIFY(focused->hasFocus());

  const QImage ring = grabOf(asDefault);
  const QImage dotted = grabOf(focused);
  const QRect focusRect(3, 3, kW - 6, kH - 6);
  int dots = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool onEdge =
          (x == focusRect.left() || x == focusRect.right() || y == focusRect.top() || y == focusRect.bottom()) &&
          focusRect.contains(x, y);
      const QColor plain = ring.pixel(x, y);
      const QColor seen = dotted.pixel(x, y);
      if (onEdge && (x + y) % 2 == 0) {
        QCOMPARE(hex(seen), hex(inverted(plain)));
        ++dots;
      } else if (seen != plain) {
        QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs off the focus rectangle").arg(x).arg(y)));
      }
    }
  }
  QVERIFY(dots > 0);
}

void TestControlTheme::pressedButtonIsFlatAndTextMoves() {
  Window window;
  QPushButton *button = plainButton(window);
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(window.show());
  const QRect normalInk = inkBox(grabOf(button), Qt::black);

  QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(kW / 2, kH / 2));
  QVERIFY(button->isDown());
  const QImage image = grabOf(button);
  QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(kW / 2, kH / 2));
  QTest::mouseMove(&window.widget, QPoint(300, 250)); // later windows open under a free pointer

  for (const QPoint &p : {QPoint(2, 2), QPoint(kW / 2, 2), QPoint(5, 4), QPoint(5, kH - 5), QPoint(kW / 2, kH - 3),
                          QPoint(kW - 3, kH / 2)})
    QCOMPARE(at(image, p.x(), p.y()), hex(239, 227, 206));
  QCOMPARE(at(image, 1, kH / 2), hex(55, 98, 6));
  QVERIFY(!normalInk.isEmpty());
  QCOMPARE(inkBox(image, Qt::black), normalInk.translated(1, 1));
}

void TestControlTheme::disabledButtonLook() {
  Window window;
  QPushButton *button = plainButton(window);
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(window.show());
  const QRect normalInk = inkBox(grabOf(button), Qt::black);
  button->setEnabled(false);
  const QImage image = grabOf(button);

  QCOMPARE(at(image, 1, kH / 2), hex(darkenedFace(button)));
  QCOMPARE(at(image, kW / 2, kH - 2), hex(darkenedFace(button)));
  QCOMPARE(at(image, 0, kH / 2), hex(buttonFace(button)));
  for (const QPoint &p : {QPoint(2, 2), QPoint(kW / 2, 2), QPoint(5, 4), QPoint(5, kH - 5), QPoint(kW - 3, kH - 3)})
    QCOMPARE(at(image, p.x(), p.y()), hex(245, 244, 234));
  QCOMPARE(inkBox(image, Qt::black), QRect());
  QCOMPARE(inkBox(image, QColor(165, 162, 148)), normalInk);
}

void TestControlTheme::editBoxFrame_data() {
  QTest::addColumn<QString>("state");
  QTest::newRow("enabled") << "enabled";
  QTest::newRow("disabled") << "disabled";
  QTest::newRow("read-only") << "readOnly";
}

void TestControlTheme::editBoxFrame() {
  QFETCH(QString, state);
  Window window;
  auto *edit = window.add(new QLineEdit, QRect(10, 10, 88, 24));
  edit->setEnabled(state != "disabled");
  edit->setReadOnly(state == "readOnly");
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(window.show());
  const QImage image = grabOf(edit);

  const QColor base = edit->palette().color(QPalette::Active, QPalette::Base);
  QVERIFY(base != buttonFace(edit));
  const QString frame = state == "disabled" ? hex(darkenedFace(edit)) : hex(164, 185, 127);
  const QString ring = state == "enabled" ? hex(base) : hex(buttonFace(edit));
  for (const QPoint &p : {QPoint(0, 0), QPoint(0, 12), QPoint(44, 0), QPoint(87, 12), QPoint(44, 23), QPoint(87, 23)})
    QCOMPARE(at(image, p.x(), p.y()), frame);
  for (const QPoint &p : {QPoint(1, 1), QPoint(1, 12), QPoint(44, 1), QPoint(86, 12), QPoint(44, 22)})
    QCOMPARE(at(image, p.x(), p.y()), ring);
}

void TestControlTheme::groupBoxFrameAndCutCorners() {
  Panel panel;
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(panel.show());
  const QImage image = grabOf(panel.group);
  const QString frame = hex(191, 184, 191);
  const QString fill = hex(236, 236, 236);
  const int w = panel.group->width();
  const int h = panel.group->height();
  const int top = panel.group->fontMetrics().height() / 2;

  QCOMPARE(at(image, 0, 80), frame);
  QCOMPARE(at(image, w - 1, 80), frame);
  QCOMPARE(at(image, 80, h - 1), frame);
  QCOMPARE(at(image, w - 20, top), frame);
  QCOMPARE(at(image, w - 20, top - 1), fill);
  QCOMPARE(at(image, w - 20, top + 1), fill);
  QCOMPARE(at(image, 30, 130), fill); // the panel's own fill inside the frame

  // Each corner: a diagonal from 3 pixels along one side to 3 pixels along the other.
  struct Corner {
    int x, y, dx, dy;
  };
  for (const Corner &c :
       {Corner{0, top, 1, 1}, Corner{w - 1, top, -1, 1}, Corner{0, h - 1, 1, -1}, Corner{w - 1, h - 1, -1, -1}}) {
    auto pixel = [&](int along, int down) { return at(image, c.x + along * c.dx, c.y + down * c.dy); };
    QCOMPARE(pixel(0, 3), frame);
    QCOMPARE(pixel(1, 2), frame);
    QCOMPARE(pixel(2, 1), frame);
    QCOMPARE(pixel(3, 0), frame);
    QCOMPARE(pixel(0, 0), fill);
    QCOMPARE(pixel(1, 1), fill);
    QCOMPARE(pixel(0, 2), fill);
    QCOMPARE(pixel(2, 0), fill);
  }
}

void TestControlTheme::groupBoxCaptionGap_data() {
  QTest::addColumn<int>("alignment");
  QTest::addColumn<bool>("filled");
  QTest::newRow("left, filled panel") << int(Qt::AlignLeft) << true;
  QTest::newRow("centred, filled panel") << int(Qt::AlignHCenter) << true;
  QTest::newRow("right, on the parent") << int(Qt::AlignRight) << false;
}

void TestControlTheme::groupBoxCaptionGap() {
  QFETCH(int, alignment);
  QFETCH(bool, filled);
  Panel panel;
  QPalette windowPalette = panel.widget.palette();
  windowPalette.setColor(QPalette::Window, QColor(200, 220, 240));
  panel.widget.setPalette(windowPalette);
  panel.widget.setAutoFillBackground(true);
  panel.group->setAutoFillBackground(filled);
  panel.group->setAlignment(Qt::Alignment(alignment));
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(panel.show());
  // The whole window: a grab of the box alone would fill it with its own background.
  const QImage image = grabOf(&panel.widget);

  const QFontMetrics metrics = panel.group->fontMetrics();
  const int w = panel.group->width();
  const int top = metrics.height() / 2;
  const int textWidth = metrics.horizontalAdvance(panel.group->title());
  const int left = alignment == Qt::AlignLeft    ? 9
                   : alignment == Qt::AlignRight ? w - 10 - textWidth
                                                 : (w - textWidth) / 2;
  const QString frame = hex(191, 184, 191);
  const QColor caption(0, 128, 0);
  const QColor background = filled ? QColor(236, 236, 236) : QColor(200, 220, 240);

  QCOMPARE(at(image, left - 1, top), frame);
  QCOMPARE(at(image, left + textWidth, top), frame);
  const QRect captionRect(left, 0, textWidth, metrics.height());
  for (int y = 0; y < captionRect.height(); ++y)
    for (int x = captionRect.left(); x <= captionRect.right(); ++x) {
      const QColor seen = image.pixel(x, y);
      if (seen != caption && seen != background)
        QFAIL(qPrintable(QStringLiteral("caption pixel %1,%2 is %3").arg(x).arg(y).arg(seen.name())));
    }
  const QRect ink = inkBox(image, caption, QRect(0, 0, w, metrics.height()));
  QVERIFY(!ink.isEmpty());
  QVERIFY(captionRect.contains(ink));
  QVERIFY(ink.left() - left <= 2);
}

void TestControlTheme::otherKindsTakeSchemeBorders_data() {
  QTest::addColumn<QString>("kind");
  QTest::newRow("combo box") << "combo";
  QTest::newRow("spin box") << "spin";
  QTest::newRow("check box") << "check";
}

void TestControlTheme::otherKindsTakeSchemeBorders() {
  QFETCH(QString, kind);
  Window window;
  QWidget *control = nullptr;
  if (kind == "combo") {
    auto *combo = window.add(new QComboBox, QRect(10, 10, 100, 24));
    combo->addItem(QStringLiteral("one"));
    control = combo;
  } else if (kind == "spin") {
    control = window.add(new QSpinBox, QRect(10, 10, 100, 24));
  } else {
    control = window.add(new QCheckBox(QStringLiteral("Check")), QRect(10, 10, 100, 24));
  }
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(window.show());
  const QImage image = grabOf(control);

  if (kind == "check") {
    QStyleOptionButton option;
    option.initFrom(control);
    const QRect indicator = control->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, control);
    QCOMPARE(at(image, indicator.left(), indicator.center().y()), hex(55, 98, 6));
    QCOMPARE(at(image, indicator.center().x(), indicator.top()), hex(55, 98, 6));
  } else {
    QCOMPARE(at(image, 0, 12), hex(164, 185, 127));
    QCOMPARE(at(image, 50, 0), hex(164, 185, 127));
    QCOMPARE(at(image, 99, 23), hex(164, 185, 127));
  }
}

void TestControlTheme::unthemedControlsKeepTheirLook_data() {
  QTest::addColumn<QString>("kind");
  QTest::newRow("bitmap button") << "bitmap";
  QTest::newRow("button without text or settings") << "bare";
  QTest::newRow("label") << "label";
  QTest::newRow("edit box without a border") << "frameless";
  QTest::newRow("self-painting label") << "painted";
}

namespace {
// A label that paints its own text, like the program's transparent labels.
class PaintedLabel : public QWidget {
protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    painter.setPen(Qt::red);
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("0000"));
  }
};
} // namespace

void TestControlTheme::unthemedControlsKeepTheirLook() {
  QFETCH(QString, kind);
  Window window;
  QWidget *control = nullptr;
  if (kind == "bitmap") {
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    auto *button = window.add(new QPushButton, QRect(10, 10, kW, kH));
    button->setIcon(QIcon(picture));
    control = button;
  } else if (kind == "bare") {
    control = window.add(new QPushButton, QRect(10, 10, kW, kH));
  } else if (kind == "label") {
    control = window.add(new QLabel(QStringLiteral("人数：")), QRect(10, 10, kW, 24));
  } else if (kind == "frameless") {
    auto *edit = window.add(new QLineEdit(QStringLiteral("text")), QRect(10, 10, kW, 24));
    edit->setFrame(false);
    control = edit;
  } else {
    control = window.add(new PaintedLabel, QRect(10, 10, kW, 24));
  }
  QVERIFY(window.show());
  const QImage before = grabOf(control);
  const QString windowBefore = at(grabOf(&window.widget), 300, 250);

  QVERIFY(ui::applyControlTheme(2));
  QCOMPARE(grabOf(control), before);
  QCOMPARE(at(grabOf(&window.widget), 300, 250), windowBefore); // the top-level window keeps its look too
}

void TestControlTheme::schemeBordersOnExistingAndLaterWindows_data() {
  QTest::addColumn<int>("scheme");
  QTest::addColumn<QColor>("editBorder");
  QTest::addColumn<QColor>("buttonBorder");
  QTest::newRow("1 blue") << 1 << QColor(123, 158, 189) << QColor(0, 60, 115);
  QTest::newRow("2 olive green") << 2 << QColor(164, 185, 127) << QColor(55, 98, 6);
  QTest::newRow("3 silver") << 3 << QColor(198, 197, 215) << QColor(0, 60, 116);
}

void TestControlTheme::schemeBordersOnExistingAndLaterWindows() {
  QFETCH(int, scheme);
  QFETCH(QColor, editBorder);
  QFETCH(QColor, buttonBorder);
  Panel existing;
  QVERIFY(existing.show());
  QVERIFY(ui::applyControlTheme(scheme));
  Panel later;
  QVERIFY(later.show());

  for (Panel *panel : {&existing, &later}) {
    const QImage button = grabOf(panel->button);
    QCOMPARE(at(button, 1, 12), hex(buttonBorder));
    QCOMPARE(at(button, 24, 1), hex(buttonBorder));
    const QImage edit = grabOf(panel->edit);
    QCOMPARE(at(edit, 0, 12), hex(editBorder));
    QCOMPARE(at(edit, 44, 23), hex(editBorder));
    QCOMPARE(at(grabOf(panel->group), 0, 80), hex(191, 184, 191));
  }
}

void TestControlTheme::reapplyingLeavesLookUnchanged() {
  Panel panel;
  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(panel.show());
  const QImage first = grabOf(&panel.widget);
  QVERIFY(ui::applyControlTheme(2));
  QCOMPARE(grabOf(&panel.widget), first);
}

void TestControlTheme::removalRestoresFormerLook_data() {
  QTest::addColumn<int>("scheme");
  QTest::newRow("0") << 0;
  QTest::newRow("4") << 4;
  QTest::newRow("-1") << -1;
}

void TestControlTheme::removalRestoresFormerLook() {
  QFETCH(int, scheme);
  Panel panel;
  QVERIFY(panel.show());
  const QImage before = grabOf(&panel.widget);
  QCOMPARE(ui::applyControlTheme(scheme), false); // nothing to remove yet

  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(grabOf(&panel.widget) != before);
  QCOMPARE(ui::applyControlTheme(scheme), true);
  QCOMPARE(grabOf(&panel.widget), before);
  QCOMPARE(ui::applyControlTheme(scheme), false);
  QCOMPARE(grabOf(&panel.widget), before);

  Panel later; // windows made after the removal are not themed either
  QVERIFY(later.show());
  QCOMPARE(grabOf(&later.widget), before);
}

void TestControlTheme::removalRestoresOtherPlatformStyle() {
  if (!QStyleFactory::keys().contains(QStringLiteral("Windows"), Qt::CaseInsensitive))
    QSKIP("no Windows style in this Qt");
  QApplication::setStyle(QStringLiteral("Windows"));
  Window window;
  QPushButton *button = plainButton(window);
  QVERIFY(window.show());
  QVERIFY(!button->testAttribute(Qt::WA_Hover));
  const QImage before = grabOf(button);

  QVERIFY(ui::applyControlTheme(2));
  QVERIFY(button->testAttribute(Qt::WA_Hover));
  QCOMPARE(at(grabOf(button), 1, kH / 2), hex(55, 98, 6));
  QVERIFY(ui::applyControlTheme(0));
  QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("windows"));
  QVERIFY(!button->testAttribute(Qt::WA_Hover));
  QCOMPARE(grabOf(button), before);
}

QTEST_MAIN(TestControlTheme)
#include "test_control_theme.moc"
