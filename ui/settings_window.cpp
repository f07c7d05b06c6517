#include "ui/settings_window.h"

namespace ui {

app::WindowSlot settingsWindowSlot("settings", /*ownedByInvisibleOwner=*/true,
                                   [](QWidget *owner) { return new SettingsWindow(owner); });

SettingsWindow::SettingsWindow(QWidget *owner) : ProgramWindow(owner, Qt::Dialog) {
  setObjectName(QStringLiteral("settingsWindow"));
  resize(349, 182);
}

} // namespace ui
