#include "app/lifecycle.h"

#include "app/fatal_error.h"
#include "ui/platform_x11.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

namespace app {

namespace {

const QEvent::Type kDestroyRequest = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kQuitRequest = static_cast<QEvent::Type>(QEvent::registerEventType());

struct DestroyRequest : QEvent {
  DestroyRequest(WindowSlot *s, ProgramWindow *w) : QEvent(kDestroyRequest), slot(s), window(w) {}
  WindowSlot *slot;
  QPointer<ProgramWindow> window; // the window the request was made for
};

struct QuitRequest : QEvent {
  explicit QuitRequest(int code) : QEvent(kQuitRequest), exitCode(code) {}
  int exitCode;
};

} // namespace

ProgramWindow::ProgramWindow(QWidget *owner, Qt::WindowFlags flags) : QWidget(owner, flags | Qt::Window) {}

void ProgramWindow::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && m_slot) {
    lifecycle().closeRequest(*m_slot);
    return;
  }
  QWidget::keyPressEvent(event);
}

void ProgramWindow::closeEvent(QCloseEvent *event) {
  event->ignore();
  if (m_slot && m_slot->window() == this)
    lifecycle().closeRequest(*m_slot);
}

WindowSlot::WindowSlot(const char *role, bool ownedByInvisibleOwner, Factory make)
    : m_role(role), m_owned(ownedByInvisibleOwner), m_make(std::move(make)) {
  Lifecycle::registry().push_back(this);
}

std::vector<WindowSlot *> &Lifecycle::registry() {
  static std::vector<WindowSlot *> all;
  return all;
}

Lifecycle &Lifecycle::instance() {
  static Lifecycle *the = new Lifecycle; // lives to the end of the process, like the owner
  return *the;
}

QWidget *Lifecycle::invisibleOwner() {
  if (!m_owner) {
    m_owner = new QWidget(nullptr, Qt::Window);
    m_owner->setObjectName(QStringLiteral("invisibleOwner"));
    m_owner->setAttribute(Qt::WA_DontShowOnScreen);
    m_owner->winId(); // a native window, never mapped, for the owned windows to point at
  }
  return m_owner;
}

bool Lifecycle::anyWindowLoaded() const {
  for (const WindowSlot *s : registry())
    if (s->m_window)
      return true;
  return false;
}

bool Lifecycle::load(WindowSlot &w, bool dialogMode) {
  if (w.m_window && !w.m_marked) {
    if (w.m_window->isMinimized()) {
      w.m_window->showNormal();
    } else {
      w.m_window->raise();
      w.m_window->activateWindow();
    }
    return true;
  }
  if (w.m_window && w.m_marked)
    carryOutDestruction(w);

  const bool owned = w.m_owned || dialogMode;
  ProgramWindow *window = w.m_make(owned ? invisibleOwner() : nullptr);
  if (!window)
    return false;
  window->m_slot = &w;
  w.m_window = window;
  w.m_marked = false;
  if (owned) {
    window->winId();
    ui::keepOffTaskbar(window);
  }

  window->created();
  if (w.m_window != window)
    return true; // the created event destroyed it again
  window->show();
  window->activateWindow();
  if (!dialogMode)
    return true;

  // Dialog mode: disable every other loaded window with neither parent nor owner, then wait
  // here until this window is gone (or the quit request is next, which stays queued).
  for (WindowSlot *other : registry()) {
    ProgramWindow *ow = other->m_window;
    if (other == &w || !ow || ow->parentWidget())
      continue;
    w.m_disabledForMe.push_back({other, ow, ow->isEnabled()});
    ow->setEnabled(false);
  }
  QEventLoop loop;
  w.m_dialogLoop = &loop;
  ++m_nestedDepth;
  if (w.m_window == window)
    loop.exec();
  --m_nestedDepth;
  if (w.m_dialogLoop == &loop)
    w.m_dialogLoop = nullptr;
  restoreDisabled(w);
  if (m_nestedDepth == 0) {
    // Windows destroyed while a dialog loop ran were only parked: a handler below us on the
    // stack may belong to one of them. Now that every nested loop has returned, they go once
    // the handler that started the outermost loop has returned too.
    for (const QPointer<ProgramWindow> &p : m_parked)
      if (p)
        p->deleteLater();
    m_parked.clear();
  }
  return true;
}

void Lifecycle::destroy(WindowSlot &w) {
  if (!w.m_window)
    fatalError(gbkMessage::kWindowNotLoaded);
  w.m_marked = true;
  QCoreApplication::postEvent(this, new DestroyRequest(&w, w.m_window));
}

void Lifecycle::closeRequest(WindowSlot &w) {
  if (!w.m_window)
    return;
  // No window of this program refuses to close, so the can-close step always goes ahead.
  restoreDisabled(w);
  carryOutDestruction(w);
}

void Lifecycle::customEvent(QEvent *event) {
  if (event->type() == kDestroyRequest) {
    auto *req = static_cast<DestroyRequest *>(event);
    WindowSlot &w = *req->slot;
    if (w.m_marked && req->window && w.m_window == req->window)
      carryOutDestruction(w);
  } else if (event->type() == kQuitRequest) {
    const int code = static_cast<QuitRequest *>(event)->exitCode;
    if (m_nestedDepth > 0) {
      // A nested loop never takes the quit request: it leaves, and the request waits for the
      // loop below it.
      for (WindowSlot *s : registry())
        if (s->m_dialogLoop) {
          s->m_dialogLoop->exit();
          s->m_dialogLoop = nullptr;
        }
      QCoreApplication::postEvent(this, new QuitRequest(code));
      return;
    }
    if (m_quitEndsLoop)
      QCoreApplication::exit(code);
  }
}

void Lifecycle::restoreDisabled(WindowSlot &w) {
  for (const WindowSlot::Disabled &d : w.m_disabledForMe)
    if (d.window && d.slot->m_window == d.window)
      d.window->setEnabled(d.wasEnabled);
  w.m_disabledForMe.clear();
}

void Lifecycle::carryOutDestruction(WindowSlot &w) {
  ProgramWindow *window = w.m_window;
  w.m_marked = false;
  restoreDisabled(w);
  w.m_window = nullptr;
  window->aboutToBeDestroyed();
  // Its controls go with it: no timer of a destroyed window may fire again.
  for (QTimer *t : window->findChildren<QTimer *>())
    t->stop();
  window->hide();
  if (w.m_dialogLoop) {
    w.m_dialogLoop->exit();
    w.m_dialogLoop = nullptr;
  }
  reap(window);
  emit windowDestroyed(w.m_role);
  applyEndRule();
}

void Lifecycle::reap(ProgramWindow *window) {
  window->m_slot = nullptr;
  if (m_nestedDepth > 0)
    m_parked.emplace_back(window);
  else
    window->deleteLater();
}

void Lifecycle::applyEndRule() {
  if (m_loopRunning && !anyWindowLoaded()) {
    ++m_quitRequests;
    QCoreApplication::postEvent(this, new QuitRequest(0));
  }
}

void Lifecycle::resetForTest() {
  m_loopRunning = false;
  m_quitRequests = 0;
  m_quitEndsLoop = false;
}

} // namespace app
