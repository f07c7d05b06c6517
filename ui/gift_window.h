#pragma once
// The gift window: the 50x50 floating gift box, its tray icon and the program menu.

#include "app/lifecycle.h"
#include "ui/popup_menu.h"

#include <QImage>
#include <QPoint>

namespace ui {

class TrayIcon;

extern app::WindowSlot giftWindowSlot;

class GiftWindow : public app::ProgramWindow {
  Q_OBJECT
public:
  explicit GiftWindow(QWidget *owner);

  void created() override;
  void aboutToBeDestroyed() override;

  TrayIcon *trayIcon() const { return m_tray; }
  const Menu &programMenu() const { return m_menu; }

  // Handlers of the window's events, one each.
  void onTrayEvent(int type);
  static void openDrawWindow();
  static void closeProgram();

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
  Menu m_menu;
  TrayIcon *m_tray = nullptr;
  QImage m_picture; // decoded at the first paint, kept until the window goes
  bool m_pictureTried = false;
  bool m_dragging = false;
  QPoint m_dragOffset;
};

} // namespace ui
