// The gift window inside one process: the ways that open the draw window, the program menu
// and its two placements, dragging, and the tray icon's tip.
#include "support/program_fixture.h"
#include "app/lifecycle.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "ui/draw_window.h"
#include "ui/fonts.h"
#include "ui/gift_window.h"
#include "ui/jpeg_image.h"
#include "ui/tray_icon.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

ui::GiftWindow *gift() { return ui::giftWindowSlot.as<ui::GiftWindow>(); }

// Runs `inspect` on the pop-up menu that the next event loop turn finds open, then closes it.
void inspectPopup(std::function<void(QMenu *)> inspect, bool *seen) {
  QTimer::singleShot(0, [inspect, seen] {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    *seen = menu != nullptr;
    if (menu) {
      inspect(menu);
      menu->close();
    }
  });
}

using support::flushQueue;

} // namespace

class GiftWindowTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { ui::installFontSubstitutions(); }
  void init() { QVERIFY(support::startWithGiftWindow()); }
  void cleanup() { support::closeAllWindows(); }

  void createdEventPlacesTheBoxBeforeItIsShown() {
    QCOMPARE(gift()->geometry(), QRect(1820, 50, 50, 50));
    QVERIFY(gift()->isVisible());
    QVERIFY(gift()->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(gift()->parentWidget(), app::lifecycle().invisibleOwner());
  }

  void everyWayToOpenGivesTheSameDrawWindowAndRestoresIt_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("double-click on the box") << 0;
    QTest::newRow("tray double-click") << 1;
    QTest::newRow("打开程序") << 2;
  }
  void everyWayToOpenGivesTheSameDrawWindowAndRestoresIt() {
    QFETCH(int, way);
    auto open = [way] {
      if (way == 0)
        QTest::mouseDClick(gift(), Qt::LeftButton, Qt::NoModifier, QPoint(25, 25));
      else if (way == 1)
        gift()->onTrayEvent(2);
      else {
        bool seen = false;
        inspectPopup(
            [](QMenu *menu) {
              for (QAction *a : menu->actions())
                if (a->text() == QString::fromUtf8("打开程序"))
                  a->trigger();
            },
            &seen);
        QTest::mouseClick(gift(), Qt::RightButton, Qt::NoModifier, QPoint(25, 25));
        QVERIFY(seen);
        QCoreApplication::sendPostedEvents(); // the chosen item acts through the queue
      }
    };
    open();
    QVERIFY(app::lifecycle().isLoaded(ui::drawWindowSlot));
    app::ProgramWindow *first = ui::drawWindowSlot.window();
    first->showMinimized();
    open();
    QCOMPARE(ui::drawWindowSlot.window(), first);
    QVERIFY(!first->isMinimized());
  }

  void singleTrayClickAndOtherTypesDoNothing() {
    for (int type : {1, 0, 4, -1})
      gift()->onTrayEvent(type);
    QCoreApplication::sendPostedEvents();
    QVERIFY(!app::lifecycle().isLoaded(ui::drawWindowSlot));
    QVERIFY(!QApplication::activePopupWidget());
  }

  void rightClickShowsTheMenuThreePixelsRightAndBelowThePointer() {
    QRect where;
    QStringList items;
    bool seen = false;
    inspectPopup(
        [&](QMenu *menu) {
          where = menu->geometry();
          for (QAction *a : menu->actions())
            items << a->text();
        },
        &seen);
    gift()->move(500, 300); // away from the screen edge, which would push the menu back
    QTest::mouseClick(gift(), Qt::RightButton, Qt::NoModifier, QPoint(10, 20));
    QVERIFY(seen);
    QCOMPARE(where.topLeft(), QPoint(500 + 10 + 3, 300 + 20 + 3));
    QCOMPARE(items, (QStringList{QString::fromUtf8("打开程序"), QString::fromUtf8("关闭程序")}));
    // Nothing was chosen: closing the menu does nothing.
    QCoreApplication::sendPostedEvents();
    QVERIFY(!app::lifecycle().isLoaded(ui::drawWindowSlot));
  }

  void trayMenuOpensLeftOfThePointer() {
    const QPoint pointer(900, 500);
    QCursor::setPos(pointer);
    QRect where;
    bool seen = false;
    inspectPopup([&](QMenu *menu) { where = menu->geometry(); }, &seen);
    gift()->onTrayEvent(3);
    QVERIFY(seen);
    // Its top-right corner is 5 px left of and 5 px above the pointer.
    QCOMPARE(where.x() + where.width(), pointer.x() - 5);
    QCOMPARE(where.y(), pointer.y() - 5);
  }

  void dragAnywhereMovesTheBox() {
    QTest::mousePress(gift(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), gift()->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(gift(), &move);
    QTest::mouseRelease(gift(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    QCOMPARE(gift()->pos(), QPoint(1820 + 30, 50 + 20));
    QVERIFY(!app::lifecycle().isLoaded(ui::drawWindowSlot)); // a press raises nothing of its own
  }

  void theBoxShowsTheGiftPictureAtItsOwnSize() {
    const QImage picture = ui::decodeJpegResource(QStringLiteral(":/assets/gift.jpg"));
    QCOMPARE(picture.size(), QSize(50, 53));
    const QImage shown = gift()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = picture.convertToFormat(QImage::Format_RGB32).copy(0, 0, 50, 50);
    QCOMPARE(shown.size(), QSize(50, 50));
    QCOMPARE(shown, expected);
  }

  void tipIsCutTo62BytesWithoutHalfACharacter_data() {
    QTest::addColumn<QByteArray>("tip");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("short") << QByteArray("Vostrel") << QByteArray("Vostrel");
    QTest::newRow("exactly 62") << QByteArray(62, 'a') << QByteArray(62, 'a');
    QTest::newRow("70 ASCII") << QByteArray(70, 'a') << QByteArray(62, 'a');
    // 61 ASCII bytes and then a two-byte character that would straddle the cut.
    QTest::newRow("character across the cut") << QByteArray(61, 'a') + "\xD5\xC5" << QByteArray(61, 'a');
    QTest::newRow("character ending at the cut") << QByteArray(60, 'a') + "\xD5\xC5\xC8\xFD" << QByteArray(60, 'a') + "\xD5\xC5";
    QTest::newRow("absent") << QByteArray() << QByteArray();
  }
  void tipIsCutTo62BytesWithoutHalfACharacter() {
    QFETCH(QByteArray, tip);
    QFETCH(QByteArray, shown);
    QCOMPARE(QByteArray::fromStdString(ui::TrayIcon::cutTip(tip.toStdString())), shown);
  }

  void noNotificationAreaMeansNoIconAndNoError() {
    // The offscreen platform has no notification area.
    QVERIFY(!gift()->trayIcon()->shown());
    QVERIFY(gift()->isVisible());
  }
};

int main(int argc, char **argv) {
  app::prepareProcess();
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  GiftWindowTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_gift_window.moc"
