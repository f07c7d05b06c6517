#pragma once
// The one place that talks to X11 directly.

class QWidget;

namespace ui {

// Keeps a top-level window off the taskbar and the pager (_NET_WM_STATE_SKIP_TASKBAR and
// _NET_WM_STATE_SKIP_PAGER), set on the native window before it is first mapped. Being owned
// by the invisible owner is not enough for X11 taskbars. Does nothing without X11.
void keepOffTaskbar(QWidget *window);

} // namespace ui
