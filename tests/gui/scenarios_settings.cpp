// The settings window inside the whole program: "关闭程序" while it is open takes the draw
// window and the gift window away, and the program ends only when the settings window closes.
#include "support/scenarios.h"

#include "app/lifecycle.h"
#include "app/program_state.h"
#include "draw/winner_list.h"
#include "ui/draw_window.h"
#include "ui/gift_window.h"
#include "ui/settings_window.h"

#include <QFile>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

using support::report;
using support::step;

int loaded(const app::WindowSlot &slot) { return app::lifecycle().isLoaded(slot) ? 1 : 0; }

QPushButton *button(const app::WindowSlot &slot, const char *name) {
  return slot.window() ? slot.window()->findChild<QPushButton *>(QString::fromUtf8(name)) : nullptr;
}

// Opens the draw window, presses its "设置", and inside the settings window's nested loop runs
// "关闭程序" from the gift window; `closeSettings` then closes the settings window.
void closeProgramWhileSettingsOpen(std::function<void()> closeSettings) {
  step([closeSettings] {
    ui::GiftWindow::openDrawWindow();
    QPushButton *set = button(ui::drawWindowSlot, "按钮3");
    if (!set) {
      report(QStringLiteral("no-set-button"));
      ui::GiftWindow::closeProgram();
      return;
    }
    // Scheduled before the click: it runs inside the nested loop that "设置" starts.
    step([closeSettings] {
      report(QStringLiteral("settings-open draw-enabled %1 gift-enabled %2")
                 .arg(ui::drawWindowSlot.window()->isEnabled() ? 1 : 0)
                 .arg(ui::giftWindowSlot.window()->isEnabled() ? 1 : 0));
      ui::GiftWindow::closeProgram();
      step([closeSettings] {
        const QString list = QString::fromStdString(draw::winnerListPath(app::runDirectory));
        report(QStringLiteral("after-close-program draw %1 gift %2 settings %3 list %4 quit %5")
                   .arg(loaded(ui::drawWindowSlot))
                   .arg(loaded(ui::giftWindowSlot))
                   .arg(loaded(ui::settingsWindowSlot))
                   .arg(QFile::exists(list) ? 1 : 0)
                   .arg(app::lifecycle().quitRequests()));
        closeSettings();
      });
    });
    QTest::mouseClick(set, Qt::LeftButton);
    report(QStringLiteral("set-handler-returned settings %1").arg(loaded(ui::settingsWindowSlot)));
  });
}

} // namespace

VOSTREL_SCENARIO(settingsOutlivesCloseProgramClosedByCloseBox) {
  closeProgramWhileSettingsOpen([] {
    report(QStringLiteral("closed-by close box"));
    ui::settingsWindowSlot.window()->close();
  });
}

VOSTREL_SCENARIO(settingsOutlivesCloseProgramClosedByQuit) {
  closeProgramWhileSettingsOpen([] {
    report(QStringLiteral("closed-by quit"));
    QTest::mouseClick(button(ui::settingsWindowSlot, "按钮3"), Qt::LeftButton);
  });
}
