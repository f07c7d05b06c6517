#pragma once
// The window lifecycle services: load window (optionally in dialog mode), window is loaded,
// destroy window (queued), close request (immediate), the end rule and the invisible owner.
// Every window of the program is created and destroyed here and nowhere else.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QEventLoop;

namespace app {

class WindowSlot;

// Base of the three windows. The lifecycle raises created() after the window and its controls
// exist and before it is first shown, and aboutToBeDestroyed() when it goes, by any path.
class ProgramWindow : public QWidget {
  Q_OBJECT
public:
  ProgramWindow(QWidget *owner, Qt::WindowFlags flags);
  WindowSlot *slot() const { return m_slot; }

  virtual void created() {}
  virtual void aboutToBeDestroyed() {}

protected:
  // A plain Esc (no Ctrl, Shift or Alt) that no control used makes a close request.
  void keyPressEvent(QKeyEvent *event) override;
  // The desktop's close command is a close request too; Qt never closes the window itself.
  void closeEvent(QCloseEvent *event) override;

private:
  friend class Lifecycle;
  WindowSlot *m_slot = nullptr;
};

// One window definition: how to make it and whether it is kept off the taskbar. At most one
// window of a definition exists at a time.
class WindowSlot {
public:
  using Factory = std::function<ProgramWindow *(QWidget *owner)>;
  WindowSlot(const char *role, bool ownedByInvisibleOwner, Factory make);
  WindowSlot(const WindowSlot &) = delete;
  WindowSlot &operator=(const WindowSlot &) = delete;

  const char *role() const { return m_role; }
  // The live window, or null when it is not loaded.
  ProgramWindow *window() const { return m_window; }
  template <class T> T *as() const { return qobject_cast<T *>(m_window); }
  bool hasDestructionMark() const { return m_marked; }

private:
  friend class Lifecycle;
  struct Disabled {
    WindowSlot *slot;
    QPointer<ProgramWindow> window;
    bool wasEnabled;
  };
  const char *m_role;
  bool m_owned;
  Factory m_make;
  ProgramWindow *m_window = nullptr;
  bool m_marked = false;
  std::vector<Disabled> m_disabledForMe;
  QEventLoop *m_dialogLoop = nullptr;
};

class Lifecycle : public QObject {
  Q_OBJECT
public:
  static Lifecycle &instance();

  // The invisible owner window: never shown; it owns every window without a taskbar button
  // and every window loaded in dialog mode. Created on first use (start-up step 1).
  QWidget *invisibleOwner();

  bool load(WindowSlot &w, bool dialogMode = false);
  bool isLoaded(const WindowSlot &w) const { return w.m_window != nullptr; }
  void destroy(WindowSlot &w);
  void closeRequest(WindowSlot &w);

  // Start-up sets it just before the main loop would start; from then on the end rule may
  // post the quit request.
  void setLoopRunning() { m_loopRunning = true; }
  bool loopRunning() const { return m_loopRunning; }
  bool anyWindowLoaded() const;
  int nestedDialogLoops() const { return m_nestedDepth; }

  // How many quit requests the end rule has posted; tests read it.
  int quitRequests() const { return m_quitRequests; }
  // For tests that drive the lifecycle inside one process: forget the loop-running flag and
  // quit count so a test starts like a fresh program, and only count quit requests from now
  // on (a real quit would make every later event loop of the test process return at once).
  void resetForTest();

signals:
  // Raised after a window has been destroyed, with its role; tests follow the order with it.
  void windowDestroyed(const char *role);

protected:
  void customEvent(QEvent *event) override;

private:
  Lifecycle() = default;
  void carryOutDestruction(WindowSlot &w);
  void restoreDisabled(WindowSlot &w);
  void applyEndRule();
  void reap(ProgramWindow *window);

  static std::vector<WindowSlot *> &registry();
  friend class WindowSlot;

  QWidget *m_owner = nullptr;
  bool m_loopRunning = false;
  int m_nestedDepth = 0;
  int m_quitRequests = 0;
  bool m_quitEndsLoop = true;
  std::vector<QPointer<ProgramWindow>> m_parked;
};

inline Lifecycle &lifecycle() { return Lifecycle::instance(); }

} // namespace app
