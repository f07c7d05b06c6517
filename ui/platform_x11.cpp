#include "ui/platform_x11.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace ui {

namespace {
xcb_atom_t internAtom(xcb_connection_t *c, const char *name) {
  const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name);
  xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  free(reply);
  return atom;
}
} // namespace

void keepOffTaskbar(QWidget *window) {
  auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection())
    return;
  xcb_connection_t *c = x11->connection();
  const xcb_atom_t state = internAtom(c, "_NET_WM_STATE");
  const xcb_atom_t skip[2] = {internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"), internAtom(c, "_NET_WM_STATE_SKIP_PAGER")};
  if (state == XCB_ATOM_NONE || skip[0] == XCB_ATOM_NONE || skip[1] == XCB_ATOM_NONE)
    return;
  // Qt merges its own states into what is already there when it maps the window.
  xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window->winId()), state, XCB_ATOM_ATOM, 32,
                      2, skip);
  xcb_flush(c);
}

} // namespace ui
