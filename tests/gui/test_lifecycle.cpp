// The window lifecycle inside one process: queued destruction, the end rule, load on a
// marked window, and dialog mode with its nested loop.
#include "support/program_fixture.h"
#include "app/lifecycle.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

class PlainWindow : public app::ProgramWindow {
public:
  explicit PlainWindow(QWidget *owner) : ProgramWindow(owner, Qt::FramelessWindowHint) { resize(120, 80); }
};

app::ProgramWindow *makePlain(QWidget *owner) { return new PlainWindow(owner); }

// Two windows with a taskbar button of their own, one owned window, and a dialog.
app::WindowSlot freeA("freeA", false, makePlain);
app::WindowSlot freeB("freeB", false, makePlain);
app::WindowSlot owned("owned", true, makePlain);
app::WindowSlot dialog("dialog", false, makePlain);

// A window whose button waits in dialog mode, like the draw window's "设置".
class WaitingWindow : public app::ProgramWindow {
public:
  explicit WaitingWindow(QWidget *owner) : ProgramWindow(owner, Qt::FramelessWindowHint) {
    resize(200, 100);
    button = new QPushButton(QStringLiteral("wait"), this);
    button->setObjectName(QStringLiteral("waitButton"));
    QObject::connect(button, &QPushButton::clicked, this, [] { app::lifecycle().load(dialog, true); });
  }
  QPushButton *button;
};
app::WindowSlot waiting("waiting", false, [](QWidget *owner) { return new WaitingWindow(owner); });

using support::flushQueue;

} // namespace

class LifecycleTest : public QObject {
  Q_OBJECT

private slots:
  void init() { app::lifecycle().resetForTest(); }
  void cleanup() {
    for (app::WindowSlot *s : {&freeA, &freeB, &owned, &dialog, &waiting})
      if (app::lifecycle().isLoaded(*s))
        app::lifecycle().closeRequest(*s);
    flushQueue();
  }

  void destructionIsQueuedAndCarriedOutInRequestOrderWithTheEndRuleAfterEach() {
    app::lifecycle().load(freeA);
    app::lifecycle().load(freeB);
    app::lifecycle().setLoopRunning();
    QStringList order;
    QList<int> quitsSeen;
    auto c = connect(&app::lifecycle(), &app::Lifecycle::windowDestroyed, this, [&](const char *role) {
      order << QString::fromLatin1(role);
      quitsSeen << app::lifecycle().quitRequests();
    });
    app::lifecycle().destroy(freeB);
    app::lifecycle().destroy(freeA);
    // The requesting handler goes on with both windows in place.
    QVERIFY(app::lifecycle().isLoaded(freeA) && app::lifecycle().isLoaded(freeB));
    QVERIFY(freeA.hasDestructionMark() && freeB.hasDestructionMark());
    QVERIFY(order.isEmpty());
    flushQueue();
    disconnect(c);
    QCOMPARE(order, (QStringList{"freeB", "freeA"}));
    QCOMPARE(quitsSeen, (QList<int>{0, 0}));
    QCOMPARE(app::lifecycle().quitRequests(), 1); // only once the last window had gone
    QVERIFY(!app::lifecycle().anyWindowLoaded());
  }

  void endRuleWaitsForTheLoopRunningFlag() {
    app::lifecycle().load(freeA);
    app::lifecycle().closeRequest(freeA);
    QCOMPARE(app::lifecycle().quitRequests(), 0);
  }

  void closeRequestDestroysAtOnce() {
    app::lifecycle().load(freeA);
    QPointer<app::ProgramWindow> w = freeA.window();
    app::lifecycle().closeRequest(freeA);
    QVERIFY(!app::lifecycle().isLoaded(freeA));
    QVERIFY(w && !w->isVisible());
    flushQueue();
    QVERIFY(!w);
  }

  void loadOnAMarkedWindowDestroysItNowAndMakesANewOne() {
    app::lifecycle().load(freeA);
    QPointer<app::ProgramWindow> old = freeA.window();
    QSignalSpy destroyed(&app::lifecycle(), &app::Lifecycle::windowDestroyed);
    app::lifecycle().destroy(freeA);
    app::lifecycle().load(freeA);
    QCOMPARE(destroyed.count(), 1);
    QVERIFY(freeA.window() && freeA.window() != old.data());
    QVERIFY(!freeA.hasDestructionMark());
    flushQueue(); // the old request finds its window gone and does nothing
    QCOMPARE(destroyed.count(), 1);
    QVERIFY(app::lifecycle().isLoaded(freeA));
  }

  void loadOnALoadedWindowBringsTheSameWindowBack() {
    app::lifecycle().load(freeA);
    app::ProgramWindow *w = freeA.window();
    w->showMinimized();
    QVERIFY(w->isMinimized());
    QVERIFY(app::lifecycle().load(freeA));
    QCOMPARE(freeA.window(), w);
    QVERIFY(!w->isMinimized());
  }

  void ownedWindowsHaveTheInvisibleOwnerAndFreeOnesNone() {
    app::lifecycle().load(owned);
    app::lifecycle().load(freeA);
    QCOMPARE(owned.window()->parentWidget(), app::lifecycle().invisibleOwner());
    QVERIFY(owned.window()->isWindow());
    QCOMPARE(freeA.window()->parentWidget(), nullptr);
    QVERIFY(!app::lifecycle().invisibleOwner()->isVisible());
  }

  void dialogModeDisablesOnlyUnownedWindowsAndRestoresTheirStates() {
    app::lifecycle().load(freeA);
    app::lifecycle().load(freeB);
    app::lifecycle().load(owned);
    freeB.window()->setEnabled(false); // remembered as it was, not forced back on
    bool checked = false;
    QTimer::singleShot(0, this, [&] {
      QCOMPARE(app::lifecycle().nestedDialogLoops(), 1);
      QVERIFY(!freeA.window()->isEnabled());
      QVERIFY(!freeB.window()->isEnabled());
      QVERIFY(owned.window()->isEnabled());
      QVERIFY(dialog.window()->isEnabled());
      QCOMPARE(dialog.window()->parentWidget(), app::lifecycle().invisibleOwner());
      checked = true;
      app::lifecycle().destroy(dialog);
    });
    QVERIFY(app::lifecycle().load(dialog, true));
    // load returned only once the dialog was gone
    QVERIFY(checked);
    QVERIFY(!app::lifecycle().isLoaded(dialog));
    QCOMPARE(app::lifecycle().nestedDialogLoops(), 0);
    QVERIFY(freeA.window()->isEnabled());
    QVERIFY(!freeB.window()->isEnabled());
  }

  void dialogLoopEndsOnCloseRequestToo() {
    app::lifecycle().load(freeA);
    QTimer::singleShot(0, this, [] { app::lifecycle().closeRequest(dialog); });
    app::lifecycle().load(dialog, true);
    QVERIFY(!app::lifecycle().isLoaded(dialog));
    QVERIFY(freeA.window()->isEnabled());
  }

  // The window whose handler waits in the nested loop is destroyed from inside that loop.
  // The waiting handler returns into a window that is gone for the program but still alive
  // as an object; it goes only after every handler on the stack has returned.
  void destroyingTheWaitingWindowFromInsideItsNestedLoopIsSafe() {
    app::lifecycle().load(waiting);
    app::lifecycle().load(owned);
    app::lifecycle().setLoopRunning();
    QPointer<app::ProgramWindow> waitingWindow = waiting.window();
    QTimer::singleShot(0, this, [] {
      app::lifecycle().destroy(waiting);
      app::lifecycle().destroy(owned);
    });
    QTimer::singleShot(20, this, [&] {
      QVERIFY(!app::lifecycle().isLoaded(waiting));
      QVERIFY(waitingWindow); // parked, not deleted, while the loop runs
      QCOMPARE(app::lifecycle().quitRequests(), 0); // the dialog is still there
      app::lifecycle().closeRequest(dialog);
    });
    auto *button = static_cast<WaitingWindow *>(waiting.window())->button;
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!app::lifecycle().anyWindowLoaded());
    QCOMPARE(app::lifecycle().quitRequests(), 1);
    flushQueue();
    QVERIFY(!waitingWindow);
  }
};

QTEST_MAIN(LifecycleTest)
#include "test_lifecycle.moc"
