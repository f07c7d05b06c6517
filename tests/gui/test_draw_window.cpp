// The draw window inside one process: its controls, the timer kind, the draw tick wiring, the
// buttons, closing, dialog mode, and pixels read back from the window; its placement on
// other screens through the harness.
#include "support/program_fixture.h"
#include "app/lifecycle.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "draw/gbk.h"
#include "support/scenarios.h"
#include "ui/display_text.h"
#include "ui/draw_window.h"
#include "ui/fonts.h"
#include "ui/gift_window.h"
#include "ui/jpeg_image.h"
#include "ui/settings_window.h"
#include "ui/transparent_label.h"
#include "ui/window_timer.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using ui::TransparentLabel;

namespace {

support::FixedTickClock fixedClock;

using support::flushQueue;

ui::DrawWindow *openDrawWindow() {
  app::lifecycle().load(ui::drawWindowSlot);
  return ui::drawWindowSlot.as<ui::DrawWindow>();
}

template <class T> T *control(const char *name) {
  QWidget *w = ui::drawWindowSlot.window();
  return w ? w->findChild<T *>(QString::fromUtf8(name)) : nullptr;
}
TransparentLabel *label(const char *name) { return control<TransparentLabel>(name); }
QPushButton *button(const char *name) { return control<QPushButton>(name); }
ui::WindowTimer *clock1() { return control<ui::WindowTimer>("时钟1"); }
QTimer *innerTimer() { return clock1() ? clock1()->findChild<QTimer *>() : nullptr; }
std::string number() { return label("透明标签1")->labelText(); }

QImage rgb(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }
QImage onScreen(QWidget *window) { return rgb(QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage()); }
QImage drawnAfresh(QWidget *window) { return rgb(window->grab().toImage()); }

// The stage as the window should show it, whatever the asset holds.
QImage expectedStage() {
  QImage stage(1024, 768, QImage::Format_RGB32);
  stage.fill(QGuiApplication::palette().color(QPalette::Button));
  const QImage picture = ui::decodeJpegResource(QStringLiteral(":/assets/stage.jpg"));
  if (!picture.isNull()) {
    QPainter p(&stage);
    p.drawTiledPixmap(stage.rect(), QPixmap::fromImage(picture));
  }
  return stage;
}

int pixelsWhere(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &test) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      n += test(image.pixel(x, y));
  return n;
}
bool pureRed(QRgb p) { return qRed(p) >= 240 && qGreen(p) <= 15 && qBlue(p) <= 15; }

} // namespace

class DrawWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir m_runDir;

private slots:
  void initTestCase() {
    ui::installFontSubstitutions();
    QVERIFY(m_runDir.isValid());
  }

  void init() {
    app::lifecycle().resetForTest();
    app::drawSlots = std::make_unique<app::DrawSlots>();
    app::personCount = 0;
    app::randomSource = {};
    app::winnerListText.reset();
    app::runDirectory = m_runDir.path().toStdString();
    fixedClock.ms = 1000;
    app::tickClock = &fixedClock;
    app::lifecycle().load(ui::giftWindowSlot);
    app::lifecycle().setLoopRunning();
  }

  void cleanup() {
    support::closeAllWindows();
    app::drawSlots.reset();
  }

  void windowIsAFramelessIndependentCentredStage() {
    ui::DrawWindow *w = openDrawWindow();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!w->parentWidget()); // no owner: a taskbar button of its own
    QCOMPARE(w->geometry(), QRect(448, 156, 1024, 768));
    QCOMPARE(w->minimumSize(), QSize(1024, 768));
    QCOMPARE(w->maximumSize(), QSize(1024, 768));
    QVERIFY(w->windowTitle().isEmpty());
    QVERIFY(w->isEnabled());
    // Opening it again brings the same window forward.
    app::lifecycle().load(ui::drawWindowSlot);
    QCOMPARE(ui::drawWindowSlot.window(), w);
    int drawWindows = 0;
    for (QWidget *t : QApplication::topLevelWidgets())
      drawWindows += qobject_cast<ui::DrawWindow *>(t) && t->isVisible();
    QCOMPARE(drawWindows, 1);
  }

  void labelsMatchTheTable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelHeight");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("vertical");
    const QString song = QStringLiteral("AR PL SungtiL GB");
    const QString kai = QStringLiteral("AR PL KaitiM GB");
    QTest::newRow("透明标签1") << "透明标签1" << QRect(24, 48, 1024, 128) << "0000" << song << 96 << true
                           << QColor(255, 0, 0) << 2 << 1 << false << 1;
    QTest::newRow("透明标签2") << "透明标签2" << QRect(24, 184, 1024, 80) << "" << kai << 56 << false
                           << QColor(0, 0, 255) << 1 << 1 << false << 1;
    QTest::newRow("透明标签3") << "透明标签3" << QRect(952, 8, 72, 56) << "×" << kai << 96 << true
                           << QColor(255, 0, 0) << 0 << 1 << false << 1;
    QTest::newRow("透明标签4") << "透明标签4" << QRect(848, 688, 184, 80)
                           << QString::fromUtf8("欢迎中大奖！") + QString(7, ' ') + QString::fromUtf8("By：keldrun") +
                                  QString(4, ' ') + QString::fromUtf8("持续更新中...") + QString(6, ' ') +
                                  QString::fromUtf8("期待...")
                           << kai << 20 << true << QColor(255, 168, 255) << 3 << 0 << true << 0;
  }
  void labelsMatchTheTable() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, pixelHeight);
    QFETCH(bool, bold);
    openDrawWindow();
    TransparentLabel *l = label(name.toUtf8().constData());
    QVERIFY(l);
    QTEST(l->geometry(), "place");
    QCOMPARE(l->labelText(), draw::gbk(text.toStdString()));
    QTEST(QFontInfo(l->labelFont()).family(), "family");
    QCOMPARE(l->labelFont().pixelSize(), pixelHeight);
    QCOMPARE(l->labelFont().bold(), bold);
    QTEST(l->textColour(), "colour");
    QTEST(l->effect(), "effect");
    QTEST(l->horizontalAlignment(), "horizontal");
    QTEST(l->wordWrap(), "wrap");
    QTEST(l->verticalAlignment(), "vertical");
    QCOMPARE(l->focusPolicy(), Qt::NoFocus);
    QVERIFY(l->isVisible() && l->isEnabled());
  }

  void buttonsMatchTheTable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::newRow("按钮1") << "按钮1" << QRect(240, 600, 88, 48) << "开始";
    QTest::newRow("按钮2") << "按钮2" << QRect(488, 600, 88, 48) << "暂停";
    QTest::newRow("按钮3") << "按钮3" << QRect(728, 600, 88, 48) << "设置";
  }
  void buttonsMatchTheTable() {
    QFETCH(QString, name);
    openDrawWindow();
    QPushButton *b = button(name.toUtf8().constData());
    QVERIFY(b);
    QTEST(b->geometry(), "place");
    QTEST(b->text(), "text");
    QCOMPARE(QFontInfo(b->font()).family(), QStringLiteral("AR PL KaitiM GB"));
    QCOMPARE(b->font().pixelSize(), 27);
    QVERIFY(b->font().bold());
    QVERIFY(!b->isDefault() && !b->autoDefault());
    QVERIFY(b->focusPolicy() & Qt::TabFocus);
    QVERIFY(b->isVisible() && b->isEnabled());
  }

  void enterClicksNoButton() {
    openDrawWindow();
    for (const char *name : {"按钮1", "按钮2", "按钮3"}) {
      QSignalSpy clicks(button(name), &QPushButton::clicked);
      button(name)->setFocus();
      QTest::keyClick(button(name), Qt::Key_Return);
      QTest::keyClick(button(name), Qt::Key_Enter);
      QCOMPARE(clicks.count(), 0);
    }
    QCOMPARE(clock1()->period(), 0);
  }

  void stackingOrderIsTheTables() {
    QWidget *w = openDrawWindow();
    QStringList bottomUp;
    for (QObject *child : w->children())
      if (child->isWidgetType())
        bottomUp << child->objectName();
    QCOMPARE(bottomUp, (QStringList{"透明标签1", "透明标签2", "按钮1", "按钮2", "按钮3", "透明标签3", "透明标签4"}));
    QCOMPARE(w->childAt(990, 55), label("透明标签3")); // the overlap goes to the "×"
    QCOMPARE(w->childAt(990, 70), label("透明标签1"));
  }

  // The period rules of the timer kind, one row per sequence of settings.
  void timerPeriodRules_data() {
    QTest::addColumn<QList<int>>("periods");
    QTest::addColumn<int>("period");
    QTest::addColumn<bool>("running");
    QTest::newRow("starts stopped") << QList<int>{} << 0 << false;
    QTest::newRow("negative is stopped") << QList<int>{-20} << 0 << false;
    QTest::newRow("running") << QList<int>{20} << 20 << true;
    QTest::newRow("new period") << QList<int>{20, 35} << 35 << true;
    QTest::newRow("stopped again") << QList<int>{20, 0} << 0 << false;
    QTest::newRow("negative stops") << QList<int>{20, -1} << 0 << false;
  }
  void timerPeriodRules() {
    QFETCH(QList<int>, periods);
    QFETCH(int, period);
    openDrawWindow();
    for (int p : periods)
      clock1()->setPeriod(p);
    QCOMPARE(clock1()->period(), period);
    QTEST(innerTimer()->isActive(), "running");
    if (period > 0) {
      QCOMPARE(innerTimer()->interval(), period);
      QCOMPARE(innerTimer()->timerType(), Qt::PreciseTimer);
    }
  }

  // A worked draw: clock 1000 then 1020, person count 10, draws 5 then 4.
  void ticksShowTheNumberDrawnOneTickBefore() {
    openDrawWindow();
    app::personCount = 10;
    QCOMPARE(number(), draw::gbk("0000"));
    emit clock1()->elapsed();
    QCOMPARE(number(), std::string("0"));
    QCOMPARE(app::drawSlots->element(1), 5);
    fixedClock.ms = 1020;
    emit clock1()->elapsed();
    QCOMPARE(number(), std::string("5"));
    QCOMPARE(app::drawSlots->element(1), 4);
    app::lifecycle().closeRequest(ui::drawWindowSlot);
    flushQueue();
    openDrawWindow();
    QCOMPARE(number(), draw::gbk("0000")); // a reopened window starts afresh
    QCOMPARE(clock1()->period(), 0);
    emit clock1()->elapsed();
    QCOMPARE(number(), std::string("4")); // the number left pending
  }

  void startRollsThroughTheEventQueue() {
    openDrawWindow();
    QSignalSpy ticks(clock1(), &ui::WindowTimer::elapsed);
    button("按钮1")->click();
    QCOMPARE(clock1()->period(), 20);
    QCOMPARE(ticks.count(), 0); // nothing at the click itself
    QCOMPARE(number(), draw::gbk("0000"));
    QTRY_VERIFY(ticks.count() >= 2);
    QVERIFY(number() == "0" || number() == "1"); // person count 0: only 0 and 1
  }

  void startWhileRollingKeepsTheOneTimerInPhase() {
    QWidget *w = openDrawWindow();
    QSignalSpy ticks(clock1(), &ui::WindowTimer::elapsed);
    button("按钮1")->click();
    QTRY_VERIFY(ticks.count() >= 1);
    QTRY_VERIFY(innerTimer()->remainingTime() <= 10);
    const int remaining = innerTimer()->remainingTime();
    const int seen = ticks.count();
    button("按钮1")->click();
    QCOMPARE(ticks.count(), seen);
    QVERIFY(innerTimer()->remainingTime() <= remaining); // not restarted: the phase holds
    QCOMPARE(w->findChildren<QTimer *>().size(), 1);
    QTRY_VERIFY(ticks.count() > seen);
  }

  void stopWhileStoppedKeepsItStopped() {
    openDrawWindow();
    button("按钮2")->click();
    QCOMPARE(clock1()->period(), 0);
    QVERIFY(!innerTimer()->isActive());
    button("按钮1")->click();
    button("按钮2")->click();
    QCOMPARE(clock1()->period(), 0);
    QVERIFY(!innerTimer()->isActive());
    QCOMPARE(number(), draw::gbk("0000"));
  }

  // Both ways out while rolling: the roll stops for good, the program goes on.
  void closingStopsTheRollAndTheProgramGoesOn_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("× pressed") << false;
    QTest::newRow("Esc") << true;
  }
  void closingStopsTheRollAndTheProgramGoesOn() {
    QFETCH(bool, byEscape);
    openDrawWindow();
    QPointer<QTimer> timer = innerTimer();
    QSignalSpy ticks(clock1(), &ui::WindowTimer::elapsed);
    button("按钮1")->click();
    QTRY_VERIFY(ticks.count() >= 1);
    if (byEscape) {
      button("按钮2")->setFocus();
      QTest::keyClick(button("按钮2"), Qt::Key_Escape);
      QVERIFY(!app::lifecycle().isLoaded(ui::drawWindowSlot)); // at once
    } else {
      QTest::mousePress(label("透明标签3"), Qt::LeftButton, {}, QPoint(5, 50));
      QVERIFY(ui::drawWindowSlot.hasDestructionMark()); // on the press, queued
      QVERIFY(app::lifecycle().isLoaded(ui::drawWindowSlot));
      QTest::mouseRelease(label("透明标签3"), Qt::LeftButton, {}, QPoint(5, 50));
    }
    const int seen = ticks.count();
    flushQueue();
    QVERIFY(!app::lifecycle().isLoaded(ui::drawWindowSlot));
    QVERIFY(!timer);
    QVERIFY(app::lifecycle().isLoaded(ui::giftWindowSlot));
    QCOMPARE(app::lifecycle().quitRequests(), 0);
    // Several periods go by with no tick.
    bool waited = false;
    QTimer::singleShot(100, this, [&] { waited = true; });
    QTRY_VERIFY(waited);
    QCOMPARE(ticks.count(), seen);
  }

  void rightPressOnTheCloseMarkDoesNothing() {
    openDrawWindow();
    QTest::mouseClick(label("透明标签3"), Qt::RightButton, {}, QPoint(36, 28));
    QVERIFY(!ui::drawWindowSlot.hasDestructionMark());
    flushQueue();
    QVERIFY(app::lifecycle().isLoaded(ui::drawWindowSlot));
  }

  // "设置" while rolling: the window is disabled, its ticks go on in the nested loop, and the
  // handler survives the window going while it waits.
  void settingsDisablesTheWindowWhileItKeepsTicking_data() {
    QTest::addColumn<bool>("closeDrawWindowInside");
    QTest::newRow("settings closed") << false;
    QTest::newRow("draw window closed meanwhile") << true;
  }
  void settingsDisablesTheWindowWhileItKeepsTicking() {
    QFETCH(bool, closeDrawWindowInside);
    QWidget *w = openDrawWindow();
    QSignalSpy ticks(clock1(), &ui::WindowTimer::elapsed);
    int ticksInside = 0;
    bool disabledInside = false;
    connect(clock1(), &ui::WindowTimer::elapsed, this, [&] {
      if (app::lifecycle().nestedDialogLoops() == 0 || !app::lifecycle().isLoaded(ui::settingsWindowSlot))
        return;
      disabledInside = !w->isEnabled();
      if (++ticksInside < 3)
        return;
      if (closeDrawWindowInside && !ui::drawWindowSlot.hasDestructionMark())
        app::lifecycle().destroy(ui::drawWindowSlot);
      app::lifecycle().destroy(ui::settingsWindowSlot);
    });
    QTimer guard; // ends the wait should the ticks never come
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, [] {
      if (app::lifecycle().isLoaded(ui::settingsWindowSlot))
        app::lifecycle().destroy(ui::settingsWindowSlot);
    });
    guard.start(10000);
    button("按钮1")->click();
    button("按钮3")->click(); // returns once the settings window is gone
    QVERIFY(ticksInside >= 3);
    QVERIFY(disabledInside);
    flushQueue();
    if (closeDrawWindowInside) {
      QVERIFY(!app::lifecycle().isLoaded(ui::drawWindowSlot));
    } else {
      QVERIFY(w->isEnabled());
      QCOMPARE(clock1()->period(), 20);
    }
  }

  void stageShowsThroughTheLabelsWhereNoGlyphIs() {
    QWidget *w = openDrawWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QImage shown = drawnAfresh(w);
    const QImage stage = expectedStage();
    // The number's band, left and right of the centred "0000" (centred on x = 536).
    for (const QRect &blank : {QRect(24, 48, 300, 128), QRect(760, 64, 180, 112), QRect(24, 184, 1000, 80)})
      QCOMPARE(shown.copy(blank), stage.copy(blank));
    QVERIFY(pixelsWhere(shown, QRect(430, 48, 212, 128), pureRed) > 500);
    const QRect ink = QRect(420, 48, 232, 128);
    QVERIFY(pixelsWhere(shown, ink, [](QRgb p) { return qMin(qMin(qRed(p), qGreen(p)), qBlue(p)) >= 235; }) > 20);
  }

  void numberChangeLeavesNoTraceAndTheCloseMarkStaysOnTop() {
    QWidget *w = openDrawWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    app::personCount = 30000;
    label("透明标签1")->setLabelText("88888888");
    flushQueue();
    QCoreApplication::processEvents();
    const QImage before = onScreen(w);
    const QRect overlap(952, 48, 72, 16);
    QVERIFY(pixelsWhere(before, overlap, pureRed) > 10);
    emit clock1()->elapsed(); // shows "0": a much shorter text
    QCOMPARE(number(), std::string("0"));
    const QImage after = onScreen(w); // no event processed since: the repaint was immediate
    const QImage fresh = drawnAfresh(w);
    QVERIFY(after.copy(QRect(0, 48, 1024, 128)) != before.copy(QRect(0, 48, 1024, 128)));
    QCOMPARE(after.copy(QRect(0, 48, 1024, 128)), fresh.copy(QRect(0, 48, 1024, 128)));
    QCOMPARE(after.copy(overlap), before.copy(overlap));
  }

  void placementOnOtherScreens_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("expected");
    QTest::newRow("800x600") << "800x600" << "draw -112,-84 1024x768";
    QTest::newRow("1024x768") << "1024x768" << "draw 0,0 1024x768";
    QTest::newRow("1280x1024") << "1280x1024" << "draw 128,128 1024x768";
  }
  void placementOnOtherScreens() {
    QFETCH(QString, screen);
    QFETCH(QString, expected);
    QTemporaryDir runDir;
    const support::HarnessResult result = support::runHarness(QStringLiteral("drawWindowGeometry"), runDir.path(), screen);
    QVERIFY2(!result.crashed, qPrintable(result.errors));
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.facts.contains(expected), qPrintable(result.facts.join('\n')));
    QVERIFY(result.facts.contains(QString(expected).replace("draw ", "draw frame ")));
  }
};

int main(int argc, char **argv) {
  app::prepareProcess();
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  DrawWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_draw_window.moc"
