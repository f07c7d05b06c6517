#include "ui/popup_menu.h"

#include "app/lifecycle.h"
#include "ui/display_text.h"

#include <QAction>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>

#include <cstring>
#include <memory>

namespace ui {

QMenu *buildPopup(app::ProgramWindow *window, const Menu &menu, const std::string &top) {
  auto item = menu.end();
  for (auto it = menu.begin(); it != menu.end(); ++it)
    if (it->level == 0 && it->text == top) {
      item = it;
      break;
    }
  if (item == menu.end())
    return nullptr;
  auto *popup = new QMenu(window);
  popup->setObjectName(QStringLiteral("programMenu"));
  for (auto it = item + 1; it != menu.end() && it->level > item->level; ++it) {
    if (it->level != item->level + 1 || it->hidden)
      continue;
    if (it->text == "-") {
      popup->addSeparator();
      continue;
    }
    QString text = displayText(it->text);
    if (it->shortcut)
      text += QLatin1Char('\t') + QString::fromUtf8(it->shortcut);
    QAction *action = popup->addAction(text);
    action->setEnabled(it->enabled);
    action->setCheckable(it->checked);
    action->setChecked(it->checked);
    // The item acts through the event queue, after the handler that showed the menu.
    std::function<void()> selected = it->selected;
    QPointer<app::ProgramWindow> owner(window);
    QObject::connect(action, &QAction::triggered, window, [owner, selected] {
      QMetaObject::invokeMethod(
          owner.data(),
          [owner, selected] {
            if (owner && owner->slot() && selected)
              selected();
          },
          Qt::QueuedConnection);
    });
  }
  if (popup->actions().isEmpty()) {
    delete popup;
    return nullptr;
  }
  return popup;
}

void popupMenu(app::ProgramWindow *window, const Menu &menu, const std::string &top, QPoint mouse) {
  std::unique_ptr<QMenu> popup(buildPopup(window, menu, top));
  if (!popup)
    return;
  popup->exec(mouse + QPoint(3, 3));
}

void trayPopupMenu(app::ProgramWindow *window, const Menu &menu, const std::string &top, QPoint mouse) {
  std::unique_ptr<QMenu> popup(buildPopup(window, menu, top));
  if (!popup)
    return;
  // In the foreground, the menu closes when the host clicks anywhere outside it.
  window->raise();
  window->activateWindow();
  const QSize size = popup->sizeHint();
  popup->exec(QPoint(mouse.x() - 5 - size.width(), mouse.y() - 5));
}

} // namespace ui
