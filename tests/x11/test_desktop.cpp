// The gift window on a real X server: kept off the taskbar, and its tray icon in a real
// notification area (trayer), clicked with xdotool.
#include "support/program_fixture.h"
#include "app/lifecycle.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "ui/draw_window.h"
#include "ui/fonts.h"
#include "ui/gift_window.h"
#include "ui/tray_icon.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

ui::GiftWindow *gift() { return ui::giftWindowSlot.as<ui::GiftWindow>(); }

xcb_connection_t *connection() { return qApp->nativeInterface<QNativeInterface::QX11Application>()->connection(); }

xcb_atom_t atom(const char *name) {
  auto cookie = xcb_intern_atom(connection(), 0, static_cast<uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection(), cookie, nullptr);
  const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return a;
}

QList<xcb_atom_t> netWmState(QWidget *w) {
  auto cookie = xcb_get_property(connection(), 0, static_cast<xcb_window_t>(w->winId()), atom("_NET_WM_STATE"),
                                 XCB_ATOM_ATOM, 0, 64);
  xcb_get_property_reply_t *reply = xcb_get_property_reply(connection(), cookie, nullptr);
  QList<xcb_atom_t> atoms;
  if (reply && reply->format == 32) {
    const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
    for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i)
      atoms << data[i];
  }
  std::free(reply);
  return atoms;
}

void xdotool(const QStringList &args) { QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), args), 0); }

using support::flushQueue;

} // namespace

class DesktopTest : public QObject {
  Q_OBJECT
  QProcess m_trayer;

private slots:
  void initTestCase() {
    ui::installFontSubstitutions();
    // A notification area for the icon; there is no window manager on this server.
    m_trayer.start(QStringLiteral("trayer"), {"--edge", "top", "--align", "left", "--widthtype", "pixel", "--width",
                                             "120", "--height", "24", "--SetDockType", "false"});
    QVERIFY(m_trayer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
  }
  void cleanupTestCase() {
    m_trayer.kill();
    m_trayer.waitForFinished();
  }
  void init() { QVERIFY(support::startWithGiftWindow()); }
  void cleanup() { support::closeAllWindows(); }

  void giftWindowIsKeptOffTheTaskbarAndTheDrawWindowIsNot() {
    const QList<xcb_atom_t> giftState = netWmState(gift());
    QVERIFY(giftState.contains(atom("_NET_WM_STATE_SKIP_TASKBAR")));
    QVERIFY(giftState.contains(atom("_NET_WM_STATE_SKIP_PAGER")));
    app::lifecycle().load(ui::drawWindowSlot);
    QVERIFY(!netWmState(ui::drawWindowSlot.window()).contains(atom("_NET_WM_STATE_SKIP_TASKBAR")));
  }

  void giftBoxSitsAtTheRightOnTheRealScreen() {
    QTRY_COMPARE(gift()->geometry(), QRect(1820, 50, 50, 50));
  }

  void trayIconAnswersTheMouseAsTrayEvents() {
    QSystemTrayIcon *icon = gift()->trayIcon()->systemIcon();
    QVERIFY(icon && icon->isVisible());
    QCOMPARE(icon->toolTip(), QStringLiteral("Vostrel"));
    QTRY_VERIFY(icon->geometry().isValid());
    const QPoint centre = icon->geometry().center();
    xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())});

    // A single left click does nothing.
    xdotool({"click", "1"});
    QTest::qWait(300);
    QVERIFY(!app::lifecycle().isLoaded(ui::drawWindowSlot));

    // A right click opens the program menu to the left of the pointer.
    QRect menuAt;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()); menu && menu->isVisible()) {
        menuAt = menu->geometry();
        menu->close();
      }
    });
    poll.start(20);
    xdotool({"click", "3"});
    QTRY_VERIFY_WITH_TIMEOUT(menuAt.isValid(), 5000);
    poll.stop();
    QCOMPARE(menuAt.x() + menuAt.width(), qMax(centre.x() - 5, menuAt.width()));

    // A double click opens the draw window.
    xdotool({"click", "--repeat", "2", "--delay", "80", "1"});
    QTRY_VERIFY_WITH_TIMEOUT(app::lifecycle().isLoaded(ui::drawWindowSlot), 5000);
  }
};

int main(int argc, char **argv) {
  app::prepareProcess();
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  DesktopTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_desktop.moc"
