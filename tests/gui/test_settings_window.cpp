// The settings window: its controls and look, the person count that "确定" stores, and the
// ways it closes, opened as the host opens it, by "设置" in the draw window (dialog mode).
#include "support/program_fixture.h"
#include "app/lifecycle.h"
#include "app/program_state.h"
#include "draw/gbk.h"
#include "draw/rolling_draw.h"
#include "draw/winner_list.h"
#include "support/scenarios.h"
#include "ui/control_theme.h"
#include "ui/display_text.h"
#include "ui/draw_window.h"
#include "ui/edit_box.h"
#include "ui/fonts.h"
#include "ui/group_box.h"
#include "ui/settings_window.h"
#include "ui/static_label.h"
#include "ui/transparent_label.h"
#include "ui/window_timer.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

namespace {

QString u8(const char *utf8) { return QString::fromUtf8(utf8); }

template <class T = QWidget> T *control(const QWidget *window, const char *name) {
  return window ? window->findChild<T *>(u8(name)) : nullptr;
}

ui::SettingsWindow *settingsWindow() { return ui::settingsWindowSlot.as<ui::SettingsWindow>(); }
ui::DrawWindow *drawWindow() { return ui::drawWindowSlot.as<ui::DrawWindow>(); }
bool settingsLoaded() { return app::lifecycle().isLoaded(ui::settingsWindowSlot); }

using support::flushQueue;


class NoLabel final : public draw::TextLabel {
public:
  std::string labelText() const override { return m_text; }
  void setLabelText(const std::string &gbk) override { m_text = gbk; }

private:
  std::string m_text;
};

// What the draw window's timer did: the pending number after each tick, and the number that
// tick put on show.
struct TickLog {
  std::vector<std::int32_t> pending;
  std::vector<std::string> shown;
};

void typeInto(QLineEdit *box, const std::string &gbk) {
  box->setFocus();
  box->clear();
  // A text with characters no keyboard map here types; setText is what the keyboard ends in.
  box->setText(ui::displayText(gbk));
}

QRgb pixelAt(const QImage &image, const QPoint &p) { return image.pixel(p) & 0xFFFFFF; }

int countPixels(const QImage &image, const QRect &area, QRgb colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      n += pixelAt(image, {x, y}) == (colour & 0xFFFFFF);
  return n;
}

int distance(QRgb a, QRgb b) {
  const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
  return r * r + g * g + bl * bl;
}

// Pixels of text drawn in `ink`: antialiased glyphs of a thin face may have no pixel of the
// exact colour, so a pixel counts when `ink` is nearer to it than the paper, black or white.
int countInk(const QImage &image, const QRect &area, QRgb ink, QRgb paper) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      const int d = distance(p, ink);
      n += d < distance(p, paper) && d < distance(p, qRgb(0, 0, 0)) && d < distance(p, qRgb(255, 255, 255));
    }
  return n;
}

} // namespace

class SettingsWindowTest : public QObject {
  Q_OBJECT

  support::FixedTickClock m_clock; // moved by hand, so a tick's draw can be worked out in advance
  draw::TickClock *m_realClock = nullptr;

  // Opens the draw window if needed and clicks its "设置"; `whileOpen` runs inside the settings
  // window's nested loop. Whatever `whileOpen` leaves open is closed afterwards, so a failed
  // check never leaves "设置" waiting. True when "设置" waited in dialog mode and has returned.
  bool pressSet(const std::function<void()> &whileOpen) {
    if (!drawWindow())
      app::lifecycle().load(ui::drawWindowSlot);
    auto *set = control<QPushButton>(drawWindow(), "按钮3");
    if (!set)
      return false;
    // 0: waiting for the click, 1: ran inside the nested loop, 2: the click has returned.
    auto phase = std::make_shared<int>(0);
    auto openInside = std::make_shared<bool>(false);
    QTimer::singleShot(0, this, [phase, openInside, whileOpen] {
      if (*phase != 0)
        return; // "设置" did not wait: the locals `whileOpen` refers to may be gone
      *phase = 1;
      *openInside = settingsLoaded();
      if (*openInside)
        whileOpen();
      if (settingsLoaded())
        app::lifecycle().closeRequest(ui::settingsWindowSlot);
    });
    QTest::mouseClick(set, Qt::LeftButton);
    const bool waited = *phase == 1 && *openInside && !settingsLoaded();
    *phase = 2;
    return waited;
  }

  // Starts the roll and logs every tick after the draw window's own handler has run.
  std::shared_ptr<TickLog> startRolling() {
    auto log = std::make_shared<TickLog>();
    auto *timer = control<ui::WindowTimer>(drawWindow(), "时钟1");
    auto *number = control<ui::TransparentLabel>(drawWindow(), "透明标签1");
    auto *start = control<QPushButton>(drawWindow(), "按钮1");
    if (!timer || !number || !start)
      return nullptr;
    connect(timer, &ui::WindowTimer::elapsed, this, [log, number] {
      log->pending.push_back(app::drawSlots->element(1));
      log->shown.push_back(number->labelText());
    });
    QTest::mouseClick(start, Qt::LeftButton);
    return log;
  }

private slots:
  void initTestCase() {
    ui::installFontSubstitutions();
    // As the gift window does at start-up: every window is made in the theme.
    ui::applyControlTheme(2);
    m_realClock = app::tickClock;
  }

  void init() {
    app::lifecycle().resetForTest();
    app::drawSlots = std::make_unique<app::DrawSlots>();
    app::personCount = 0;
    app::randomSource = {};
    app::tickClock = &m_clock;
  }

  void cleanup() {
    support::closeAllWindows();
    app::tickClock = m_realClock;
  }

  // --- Layout -------------------------------------------------------------------------------

  void windowIsAFixedCentredDialogWithTheTitleBytes() {
    bool checked = false;
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      // GBK bytes, with four blanks and the full-width colon A3 BA.
      QCOMPARE(ui::gbkText(w->windowTitle()), std::string("Vostrel    By\xA3\xBAkeldrun"));
      // The outer frame is 349 x 182 wherever the desktop draws one (the offscreen platform
      // makes up a 2-pixel frame), centred on the 1920x1080 screen with the halves of
      // 1920 - 349 and 1080 - 182 cut toward zero; the client area is what the frame leaves.
      QTRY_COMPARE(w->frameGeometry(), QRect(785, 449, 349, 182));
      const QMargins frame(w->geometry().left() - 785, w->geometry().top() - 449, 785 + 348 - w->geometry().right(),
                           449 + 181 - w->geometry().bottom());
      QCOMPARE(w->size(), QSize(349 - frame.left() - frame.right(), 182 - frame.top() - frame.bottom()));
      QCOMPARE(w->minimumSize(), w->size());
      QCOMPARE(w->maximumSize(), w->size());
      const Qt::WindowFlags f = w->windowFlags();
      QVERIFY(f.testFlag(Qt::WindowTitleHint) && f.testFlag(Qt::WindowSystemMenuHint));
      QVERIFY(f.testFlag(Qt::WindowCloseButtonHint) && f.testFlag(Qt::CustomizeWindowHint));
      QVERIFY(!f.testFlag(Qt::WindowMinimizeButtonHint) && !f.testFlag(Qt::WindowMaximizeButtonHint));
      // Owned by the invisible owner, which keeps it off the taskbar; never given a parent.
      QCOMPARE(w->parentWidget(), app::lifecycle().invisibleOwner());
      QVERIFY(w->isVisible());
      checked = true;
    }));
    QVERIFY(checked);
  }

  void controlSitsInItsParent_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QPoint>("inWindow");
    QTest::newRow("分组框1") << u8("分组框1") << u8("settingsWindow") << QRect(0, 0, 168, 152) << QPoint(0, 0);
    QTest::newRow("标签1") << u8("标签1") << u8("分组框1") << QRect(8, 48, 48, 24) << QPoint(8, 48);
    QTest::newRow("编辑框2") << u8("编辑框2") << u8("分组框1") << QRect(56, 48, 88, 24) << QPoint(56, 48);
    QTest::newRow("按钮1") << u8("按钮1") << u8("分组框1") << QRect(64, 96, 48, 24) << QPoint(64, 96);
    QTest::newRow("分组框2") << u8("分组框2") << u8("settingsWindow") << QRect(168, 0, 176, 152) << QPoint(168, 0);
    QTest::newRow("编辑框1") << u8("编辑框1") << u8("分组框2") << QRect(16, 48, 80, 24) << QPoint(184, 48);
    QTest::newRow("按钮2") << u8("按钮2") << u8("分组框2") << QRect(112, 48, 56, 24) << QPoint(280, 48);
    QTest::newRow("按钮3") << u8("按钮3") << u8("分组框2") << QRect(112, 80, 56, 24) << QPoint(280, 80);
    QTest::newRow("透明标签1") << u8("透明标签1") << u8("分组框2") << QRect(56, 112, 96, 48) << QPoint(224, 112);
  }
  void controlSitsInItsParent() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    QFETCH(QPoint, inWindow);
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      auto *c = w->findChild<QWidget *>(name);
      QVERIFY(c);
      QCOMPARE(c->parentWidget()->objectName(), parent);
      QCOMPARE(c->geometry(), place);
      QCOMPARE(c->mapTo(w, QPoint(0, 0)), inWindow);
      QVERIFY(c->isVisible() && c->isEnabled());
    }));
  }

  void controlTextsAndFonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face"); // empty: the default GUI font
    QTest::addColumn<int>("pixelHeight");
    QTest::newRow("分组框1") << u8("分组框1") << u8("人员设定") << u8("楷体_GB2312") << 16;
    QTest::newRow("标签1") << u8("标签1") << u8("人数：") << QGuiApplication::font().family() << 15;
    QTest::newRow("编辑框2") << u8("编辑框2") << QString() << QString() << 0;
    QTest::newRow("按钮1") << u8("按钮1") << u8("确定") << QString() << 0;
    QTest::newRow("分组框2") << u8("分组框2") << u8("其他待处理...") << u8("楷体_GB2312") << 16;
    QTest::newRow("编辑框1") << u8("编辑框1") << u8("功能待该进...") << u8("楷体_GB2312") << 12;
    QTest::newRow("按钮2") << u8("按钮2") << u8("待设置") << QString() << 0;
    QTest::newRow("按钮3") << u8("按钮3") << u8("退出") << QString() << 0;
    QTest::newRow("透明标签1") << u8("透明标签1") << u8("... ...") << QString() << 0;
  }
  void controlTextsAndFonts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, face);
    QFETCH(int, pixelHeight);
    QVERIFY(pressSet([&] {
      auto *c = settingsWindow()->findChild<QWidget *>(name);
      QVERIFY(c);
      std::string shown;
      if (auto *b = qobject_cast<QGroupBox *>(c))
        shown = ui::gbkText(b->title());
      else if (auto *l = qobject_cast<ui::StaticLabel *>(c))
        shown = l->labelText();
      else if (auto *e = qobject_cast<QLineEdit *>(c))
        shown = ui::gbkText(e->text());
      else if (auto *p = qobject_cast<QPushButton *>(c))
        shown = ui::gbkText(p->text());
      else if (auto *t = qobject_cast<ui::TransparentLabel *>(c))
        shown = t->labelText();
      QCOMPARE(shown, ui::gbkText(text));
      // Controls without a font of their own do not take the panel's Kai face.
      const QFont expected =
          face.isEmpty() ? QApplication::font() : ui::controlFont(face.toUtf8().constData(), pixelHeight, 400);
      QCOMPARE(c->font().family(), expected.family());
      QCOMPARE(c->font().pixelSize(), expected.pixelSize());
      QCOMPARE(c->font().pointSize(), expected.pointSize());
      QCOMPARE(c->font().weight(), QFont::Normal);
    }));
  }

  void settingsOfTheControls() {
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      for (const char *name : {"按钮1", "按钮2", "按钮3"}) {
        auto *b = control<QPushButton>(w, name);
        QVERIFY2(!b->isDefault() && !b->autoDefault(), name);
      }
      // Only the two edit boxes and the three buttons take the focus by Tab.
      QStringList tabStops;
      for (QWidget *c : w->findChildren<QWidget *>())
        if (c->focusPolicy() & Qt::TabFocus)
          tabStops << c->objectName();
      tabStops.sort();
      QStringList expected{u8("编辑框2"), u8("按钮1"), u8("编辑框1"), u8("按钮2"), u8("按钮3")};
      expected.sort();
      QCOMPARE(tabStops, expected);
      auto *box = control<QGroupBox>(w, "分组框1");
      QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
      QVERIFY(!box->isCheckable());
      auto *dots = control<ui::TransparentLabel>(w, "透明标签1");
      QCOMPARE(dots->horizontalAlignment(), int(ui::TransparentLabel::Centre));
      QVERIFY(dots->wordWrap());
      QCOMPARE(dots->effect(), int(ui::TransparentLabel::Plain));
      QCOMPARE(dots->textColour(), QColor(0, 128, 0));
      auto *count = control<ui::EditBox>(w, "编辑框2");
      auto *placeholder = control<ui::EditBox>(w, "编辑框1");
      QCOMPARE(count->border(), int(ui::EditBox::Sunken));
      QCOMPARE(placeholder->border(), int(ui::EditBox::StaticEdge));
      QVERIFY(count->hasFrame() && placeholder->hasFrame());
      QCOMPARE(count->palette().color(QPalette::Text), QColor(0, 0, 0));
      QCOMPARE(count->palette().color(QPalette::Base), QColor(255, 255, 255));
      QCOMPARE(placeholder->palette().color(QPalette::Text), QColor(0, 128, 0));
      QCOMPARE(placeholder->palette().color(QPalette::Base), QColor(255, 255, 255));
      QVERIFY(!count->isReadOnly() && !placeholder->isReadOnly());
      // "功能待该进..." is wider than its box: it is shown from its first character.
      QCOMPARE(placeholder->cursorPosition(), 0);
    }));
  }

  void grabShowsRedStripPanelsAndCaptions() {
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      QTRY_COMPARE(w->frameGeometry().size(), QSize(349, 182));
      const QImage image = w->grab().toImage();
      QCOMPARE(image.size(), w->size());
      if (qEnvironmentVariableIsSet("SAVE_GRAB"))
        image.save(qEnvironmentVariable("SAVE_GRAB"));
      const int width = image.width(), height = image.height();
      const QRgb red = qRgb(255, 0, 0), panel = qRgb(236, 236, 236), green = qRgb(0, 128, 0);
      // The panels cover 344 x 152: red shows at the right and along the bottom only.
      QVERIFY(width > 344 && height > 152);
      QCOMPARE(countPixels(image, QRect(344, 0, width - 344, height), red), (width - 344) * height);
      QCOMPARE(countPixels(image, QRect(0, 152, width, height - 152), red), width * (height - 152));
      QCOMPARE(pixelAt(image, {343, 140}) == (red & 0xFFFFFF), false);
      // Each panel fills its whole rectangle, also above its frame line beside the caption,
      // where no style draws.
      for (const QPoint &p : {QPoint(1, 1), QPoint(166, 2), QPoint(169, 1), QPoint(342, 2)})
        QCOMPARE(pixelAt(image, p), panel & 0xFFFFFF);
      // The captions are green, centred over their panels, at the top edge.
      QVERIFY(countInk(image, QRect(44, 0, 80, 20), green, panel) > 20);
      QCOMPARE(countInk(image, QRect(0, 0, 30, 20), green, panel), 0);
      QVERIFY(countInk(image, QRect(168 + 30, 0, 116, 20), green, panel) > 20);
      QCOMPARE(countInk(image, QRect(168, 0, 20, 20), green, panel), 0);
      QCOMPARE(countInk(image, QRect(0, 24, 344, 20), green, panel), 0);
      // "人数：" in red on the label's own fill, starting at its left edge.
      QVERIFY(countInk(image, QRect(8, 48, 16, 24), red, panel) > 10);
      // The label fills its own rectangle: (236,236,236) even where the style tints the panel
      // inside its frame.
      QCOMPARE(pixelAt(image, {54, 49}), panel & 0xFFFFFF);
      QCOMPARE(pixelAt(image, {9, 70}), panel & 0xFFFFFF);
      // The placeholder text is green on white; the dots are green on the panel, at the top of
      // their label, centred (nothing in the left and right 20 px of its 96).
      QVERIFY(countInk(image, QRect(186, 50, 76, 20), green, qRgb(255, 255, 255)) > 20);
      QVERIFY(countInk(image, QRect(244, 112, 56, 20), green, panel) > 4);
      QCOMPARE(countInk(image, QRect(224, 112, 20, 40), green, panel), 0);
      QCOMPARE(countInk(image, QRect(300, 112, 20, 40), green, panel), 0);
      QCOMPARE(countInk(image, QRect(224, 132, 96, 20), green, panel), 0);
      // White inside the empty count box.
      QCOMPARE(pixelAt(image, {100, 60}), qRgb(255, 255, 255) & 0xFFFFFF);
    }));
  }

  void labelFillsItsRectangleAndDrawsTextAsItStands() {
    const QRgb paper = qRgb(10, 20, 200); // unlike anything the parent draws
    // Columns and rows holding red ink in a 48 x 24 label with `text`.
    auto inkExtent = [paper](const std::string &text) {
      QWidget parent;
      parent.resize(60, 40);
      ui::StaticLabel label(&parent);
      label.setGeometry(4, 4, 48, 24);
      label.setFont(ui::controlFont(QGuiApplication::font().family().toUtf8().constData(), 15, 400));
      label.setTextColour(QColor(255, 0, 0));
      label.setBackgroundColour(QColor(paper));
      label.setLabelText(text);
      const QImage image = label.grab().toImage();
      QRect ink;
      int paperPixels = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
          paperPixels += pixelAt(image, {x, y}) == (paper & 0xFFFFFF);
          if (countInk(image, QRect(x, y, 1, 1), qRgb(255, 0, 0), paper))
            ink |= QRect(x, y, 1, 1);
        }
      return std::make_pair(ink, paperPixels);
    };
    const auto [none, blank] = inkExtent("");
    QVERIFY(none.isNull());
    QCOMPARE(blank, 48 * 24);
    const auto [one, onePaper] = inkExtent("&");
    const auto [two, twoPaper] = inkExtent("&&");
    // "&" is no mnemonic marker: "&&" is two of them, twice as wide as one.
    QVERIFY(!one.isNull());
    QVERIFY2(two.width() > one.width() * 3 / 2, qPrintable(QStringLiteral("%1 %2").arg(one.width()).arg(two.width())));
    // Left aligned, vertically centred in the 24 rows.
    QVERIFY(one.left() <= 2);
    QVERIFY(qAbs(one.top() - (23 - one.bottom())) <= 3);
    QVERIFY(onePaper > 48 * 24 / 2);
  }

  // --- Person count -----------------------------------------------------------------------

  void confirmStoresTheCountOfTheTypedText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("50") << u8("50") << 50;
    QTest::newRow("-3.9") << u8("-3.9") << -3;
    QTest::newRow("blanks, 12, blank, 人") << u8("  12 人") << 12;
    QTest::newRow("1e3") << u8("1e3") << 1000;
    QTest::newRow("full-width 50") << u8("５０") << 50;
    QTest::newRow("ideographic space, 50") << u8("\u300050") << 50;
    QTest::newRow("3000000000") << u8("3000000000") << -1294967296;
    QTest::newRow("1e999") << u8("1e999") << 0;
  }
  void confirmStoresTheCountOfTheTypedText() {
    QFETCH(QString, typed);
    QFETCH(int, count);
    app::personCount = 77;
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      typeInto(control<QLineEdit>(w, "编辑框2"), ui::gbkText(typed));
      QTest::mouseClick(control<QPushButton>(w, "按钮1"), Qt::LeftButton);
      QCOMPARE(app::personCount, count);
      // No message, no change: the window stays open with the typed text.
      QVERIFY(settingsLoaded() && !ui::settingsWindowSlot.hasDestructionMark());
      QCOMPARE(control<QLineEdit>(w, "编辑框2")->text(), typed);
      QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }));
  }

  void confirmTwiceKeepsTheSecondValue() {
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      auto *box = control<QLineEdit>(w, "编辑框2");
      auto *confirm = control<QPushButton>(w, "按钮1");
      typeInto(box, "50");
      QTest::mouseClick(confirm, Qt::LeftButton);
      typeInto(box, "7");
      QTest::mouseClick(confirm, Qt::LeftButton);
      QCOMPARE(app::personCount, 7);
    }));
    QCOMPARE(app::personCount, 7);
  }

  void closingWithoutConfirmKeepsTheEarlierCount_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("deferred");
    QTest::newRow("退出") << u8("退出") << true;
    QTest::newRow("close box") << u8("close box") << false;
    QTest::newRow("Esc in 编辑框2") << u8("编辑框2") << false;
    QTest::newRow("Esc in 编辑框1") << u8("编辑框1") << false;
  }
  void closingWithoutConfirmKeepsTheEarlierCount() {
    QFETCH(QString, how);
    QFETCH(bool, deferred);
    bool closedAsExpected = false;
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      typeInto(control<QLineEdit>(w, "编辑框2"), "12");
      QTest::mouseClick(control<QPushButton>(w, "按钮1"), Qt::LeftButton);
      typeInto(control<QLineEdit>(w, "编辑框2"), "30");
      if (how == u8("退出"))
        QTest::mouseClick(control<QPushButton>(w, "按钮3"), Qt::LeftButton);
      else if (how == u8("close box"))
        w->close();
      else
        QTest::keyClick(w->findChild<QLineEdit *>(how), Qt::Key_Escape);
      if (deferred) {
        // The request waits in the queue; the window is still there with its mark.
        QVERIFY(settingsLoaded() && ui::settingsWindowSlot.hasDestructionMark());
        QTRY_VERIFY(!settingsLoaded());
      }
      closedAsExpected = !settingsLoaded();
    }));
    QVERIFY(closedAsExpected);
    QCOMPARE(app::personCount, 12);
    QVERIFY(drawWindow()->isEnabled());
  }

  void escWithModifiersAndEnterChangeNothing_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Enter in 编辑框2") << u8("编辑框2") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter in 编辑框2") << u8("编辑框2") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Enter in 编辑框1") << u8("编辑框1") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("Shift+Esc in 编辑框2") << u8("编辑框2") << int(Qt::Key_Escape) << int(Qt::ShiftModifier);
  }
  void escWithModifiersAndEnterChangeNothing() {
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    app::personCount = 5;
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      auto *edit = w->findChild<QLineEdit *>(box);
      typeInto(edit, "30");
      QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
      flushQueue();
      QVERIFY(settingsLoaded() && !ui::settingsWindowSlot.hasDestructionMark());
      QCOMPARE(app::personCount, 5);
      QCOMPARE(w->focusWidget(), edit); // focus does not move on Enter either
    }));
  }

  void placeholdersChangeNothing() {
    app::personCount = 9;
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      QTest::mouseClick(control<QPushButton>(w, "按钮2"), Qt::LeftButton);
      typeInto(control<QLineEdit>(w, "编辑框1"), "40");
      flushQueue();
      QVERIFY(settingsLoaded() && !ui::settingsWindowSlot.hasDestructionMark());
      QCOMPARE(app::personCount, 9);
    }));
  }

  void reopenedWindowHasAnEmptyBoxAndConfirmGivesZero() {
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      typeInto(control<QLineEdit>(w, "编辑框2"), "30");
      QTest::mouseClick(control<QPushButton>(w, "按钮1"), Qt::LeftButton);
    }));
    QCOMPARE(app::personCount, 30);
    flushQueue();
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      QCOMPARE(control<QLineEdit>(w, "编辑框2")->text(), QString());
      QTest::mouseClick(control<QPushButton>(w, "按钮1"), Qt::LeftButton);
    }));
    QCOMPARE(app::personCount, 0);
  }

  // --- Dialog mode with the draw window behind ----------------------------------------------

  void drawWindowIsDisabledButKeepsTickingWhileOpen() {
    app::lifecycle().load(ui::drawWindowSlot);
    std::shared_ptr<TickLog> log = startRolling();
    QVERIFY(log);
    bool checked = false;
    QVERIFY(pressSet([&] {
      ui::DrawWindow *draw = drawWindow();
      QVERIFY(!draw->isEnabled());
      const std::size_t before = log->pending.size();
      QTRY_VERIFY(log->pending.size() >= before + 3);
      // Its Esc is not taken while disabled.
      QTest::keyClick(draw, Qt::Key_Escape);
      flushQueue();
      QVERIFY(app::lifecycle().isLoaded(ui::drawWindowSlot) && !ui::drawWindowSlot.hasDestructionMark());
      QCOMPARE(app::lifecycle().nestedDialogLoops(), 1);
      checked = true;
    }));
    QVERIFY(checked);
    QVERIFY(drawWindow()->isEnabled());
    const std::size_t after = log->pending.size();
    QTRY_VERIFY(log->pending.size() > after);
  }

  void newCountBoundsTheVeryNextTick() {
    app::personCount = 1; // every draw gives 1
    app::lifecycle().load(ui::drawWindowSlot);
    std::shared_ptr<TickLog> log = startRolling();
    QVERIFY(log);
    QTRY_VERIFY(!log->pending.empty());
    QCOMPARE(log->pending.back(), 1);
    std::int32_t expected = 0;
    std::size_t confirmedAt = 0;
    QVERIFY(pressSet([&] {
      ui::SettingsWindow *w = settingsWindow();
      typeInto(control<QLineEdit>(w, "编辑框2"), "30000");
      QTest::mouseClick(control<QPushButton>(w, "按钮1"), Qt::LeftButton);
      // No tick runs inside "确定"; the next one starts from this generator and clock.
      confirmedAt = log->pending.size();
      draw::RandomSource random = app::randomSource;
      std::int32_t pending = app::drawSlots->element(1);
      NoLabel shown;
      draw::drawTick(random, m_clock, pending, 30000, shown);
      expected = pending;
      QTRY_VERIFY(log->pending.size() >= confirmedAt + 2);
    }));
    QVERIFY(log->pending.size() >= confirmedAt + 2);
    QCOMPARE(log->pending[confirmedAt], expected);
    QCOMPARE(log->shown[confirmedAt + 1], draw::integerToText(expected));
  }

  // --- Whole program, as a child process ------------------------------------------------------

  void closeProgramWhileOpenEndsWhenSettingsCloses_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("closedBy");
    QTest::newRow("close box") << u8("settingsOutlivesCloseProgramClosedByCloseBox") << u8("closed-by close box");
    QTest::newRow("退出") << u8("settingsOutlivesCloseProgramClosedByQuit") << u8("closed-by quit");
  }
  void closeProgramWhileOpenEndsWhenSettingsCloses() {
    QFETCH(QString, scenario);
    QFETCH(QString, closedBy);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString list = QString::fromStdString(draw::winnerListPath(dir.path().toStdString()));
    {
      QFile f(list);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(draw::gbk("张三").c_str());
    }
    const support::HarnessResult r = support::runHarness(scenario, dir.path());
    QVERIFY2(!r.crashed, qPrintable(r.errors));
    QCOMPARE(r.exitCode, 0);
    const QStringList expected{
        u8("settings-open draw-enabled 0 gift-enabled 1"),
        u8("after-close-program draw 0 gift 0 settings 1 list 0 quit 0"),
        closedBy,
        u8("set-handler-returned settings 0"),
        u8("exit-clean-up"),
    };
    QCOMPARE(r.facts, expected);
    QVERIFY(!QFile::exists(list));
    QVERIFY2(!r.errors.contains(u8("Sanitizer")) && !r.errors.contains(u8("runtime error")), qPrintable(r.errors));
  }
};

QTEST_MAIN(SettingsWindowTest)
#include "test_settings_window.moc"
