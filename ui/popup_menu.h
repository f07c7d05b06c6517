#pragma once
// A window's menu as its table gives it, and the two ways this program shows it: as a pop-up
// at the pointer and as the tray pop-up to the left of the pointer. The menu bar is never
// shown.

#include <QPoint>

#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace app {
class ProgramWindow;
}

namespace ui {

struct MenuItem {
  int level;
  std::string text; // GBK; "-" is a separator
  bool hidden = false;
  bool enabled = true;
  bool checked = false;
  const char *shortcut = nullptr;
  std::function<void()> selected; // runs through the event queue after the menu has closed
};
using Menu = std::vector<MenuItem>;

// The pop-up of the items one level below the top-level item `top`, its top-left corner 3 px
// right of and 3 px below `mouse`. Returns when the menu has closed.
void popupMenu(app::ProgramWindow *window, const Menu &menu, const std::string &top, QPoint mouse);

// The tray pop-up: the window is brought to the foreground first; the menu's top-right corner
// is 5 px left of and 5 px above `mouse`.
void trayPopupMenu(app::ProgramWindow *window, const Menu &menu, const std::string &top, QPoint mouse);

// Builds the QMenu of the items below `top` (null when there is no such item or nothing is
// below it). Exposed for tests.
QMenu *buildPopup(app::ProgramWindow *window, const Menu &menu, const std::string &top);

} // namespace ui
