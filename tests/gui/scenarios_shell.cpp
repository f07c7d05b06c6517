// Start-up, the end rule and the fatal error, seen from outside the process.
#include "support/scenarios.h"

#include "app/lifecycle.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "ui/draw_window.h"
#include "ui/gift_window.h"
#include "ui/settings_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace {

using support::report;
using support::step;

QString geometryText(const QWidget *w) {
  const QRect g = w->geometry();
  return QStringLiteral("%1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
}

void pressEsc(QWidget *w) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

// Chooses `item` in the pop-up menu that the next step finds open.
void chooseFromPopup(const QString &item) {
  step([item] {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu) {
      report(QStringLiteral("no-popup"));
      return;
    }
    for (QAction *a : menu->actions())
      if (a->text() == item) {
        a->trigger();
        menu->close();
      }
  });
}

} // namespace

VOSTREL_SCENARIO(giftGeometry) {
  report(QStringLiteral("gift ") + geometryText(ui::giftWindowSlot.window()));
  report(QStringLiteral("person-count %1 slots %2 %3")
             .arg(app::personCount)
             .arg(app::drawSlots->element(1))
             .arg(app::drawSlots->element(2)));
  step([] { ui::GiftWindow::closeProgram(); });
}

VOSTREL_SCENARIO(escOnGiftAlone) {
  step([] { pressEsc(ui::giftWindowSlot.window()); });
}

VOSTREL_SCENARIO(escOnGiftWithDrawOpen) {
  step([] { ui::GiftWindow::openDrawWindow(); });
  step([] { pressEsc(ui::giftWindowSlot.window()); });
  step([] {
    report(QStringLiteral("gift-loaded %1 draw-loaded %2 quit %3")
               .arg(app::lifecycle().isLoaded(ui::giftWindowSlot))
               .arg(app::lifecycle().isLoaded(ui::drawWindowSlot))
               .arg(app::lifecycle().quitRequests()));
    app::lifecycle().closeRequest(ui::drawWindowSlot);
  });
}

// "关闭程序" chosen from the pop-up that a right-click on the gift box opens.
VOSTREL_SCENARIO(closeProgramFromMenu) {
  step([] { ui::GiftWindow::openDrawWindow(); });
  step([] {
    chooseFromPopup(QString::fromUtf8("关闭程序"));
    QWidget *gift = ui::giftWindowSlot.window();
    const QPoint local(10, 20);
    QMouseEvent release(QEvent::MouseButtonRelease, local, gift->mapToGlobal(local), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(gift, &release);
    report(QStringLiteral("menu-closed draw-loaded %1").arg(app::lifecycle().isLoaded(ui::drawWindowSlot)));
  });
  QObject::connect(&app::lifecycle(), &app::Lifecycle::windowDestroyed,
                   [](const char *role) { report(QStringLiteral("destroyed ") + QString::fromLatin1(role)); });
}

VOSTREL_SCENARIO(fatalOnDestroyingUnloadedWindow) {
  support::answerMessageBoxes();
  step([] { app::lifecycle().destroy(ui::settingsWindowSlot); });
}

namespace {
app::WindowSlot failingStartWindow("failing", true, [](QWidget *) -> app::ProgramWindow * { return nullptr; });
const support::ScenarioRegistration startWindowFails(
    "startWindowFails", [] {}, [](app::StartupOptions &options) {
      options.startWindow = &failingStartWindow;
      // The box comes up inside start-up, before any scenario step could run.
      options.beforeLoad = [] { support::answerMessageBoxes(); };
    });
} // namespace

// An allocation that cannot be had, anywhere in the program, ends through the fatal error.
VOSTREL_SCENARIO(memoryExhausted) {
  support::answerMessageBoxes();
  step([] {
    volatile std::size_t huge = std::size_t{1} << 62; // beyond what malloc will ever grant
    // A direct call: a new-expression whose result goes unused may be optimised away.
    void *p = ::operator new(huge);
    report(QStringLiteral("allocated %1").arg(p != nullptr));
    ::operator delete(p);
  });
}
