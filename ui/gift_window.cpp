#include "ui/gift_window.h"

#include "app/lifecycle.h"
#include "app/program_state.h"
#include "draw/gbk.h"
#include "draw/winner_list.h"
#include "ui/control_theme.h"
#include "ui/draw_window.h"
#include "ui/jpeg_image.h"
#include "ui/program_icon.h"
#include "ui/tray_icon.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
const std::string kFile = draw::gbk("文件");
const std::string kOpen = draw::gbk("打开程序");
const std::string kClose = draw::gbk("关闭程序");
const std::string kTip = "Vostrel";
} // namespace

app::WindowSlot giftWindowSlot("gift", /*ownedByInvisibleOwner=*/true,
                               [](QWidget *owner) { return new GiftWindow(owner); });

GiftWindow::GiftWindow(QWidget *owner) : ProgramWindow(owner, Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("giftWindow"));
  setWindowTitle(QString());
  setGeometry(50, 50, 50, 50);
  setFixedSize(50, 50);
  setCursor(Qt::ArrowCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_menu = {
      {0, kFile, /*hidden=*/true, true, false, nullptr, {}},
      {1, kOpen, false, true, false, nullptr, [] { openDrawWindow(); }},
      {1, kClose, false, true, false, nullptr, [] { closeProgram(); }},
  };
}

void GiftWindow::created() {
  applyControlTheme(2);
  m_tray = new TrayIcon(this, [this](int type) { onTrayEvent(type); });
  m_tray->set(trayPictureBytes(), kTip);
  const QScreen *screen = QGuiApplication::primaryScreen();
  const double left = std::trunc(double(screen ? screen->geometry().width() : 0) - 100.0);
  move(static_cast<int>(std::clamp(left, -32627.0, 32627.0)), y());
}

void GiftWindow::aboutToBeDestroyed() {
  if (m_tray)
    m_tray->remove();
}

void GiftWindow::onTrayEvent(int type) {
  if (type == 2)
    openDrawWindow();
  else if (type == 3)
    trayPopupMenu(this, m_menu, kFile, QCursor::pos());
}

void GiftWindow::openDrawWindow() { app::lifecycle().load(drawWindowSlot); }

void GiftWindow::closeProgram() {
  draw::FileLayer &files = draw::systemFiles();
  if (app::lifecycle().isLoaded(drawWindowSlot)) {
    draw::deleteWinnerList(files, app::runDirectory);
    app::lifecycle().destroy(drawWindowSlot);
  } else {
    draw::deleteWinnerList(files, app::runDirectory);
  }
  app::lifecycle().destroy(giftWindowSlot);
}

void GiftWindow::paintEvent(QPaintEvent *) {
  if (!m_pictureTried) {
    m_pictureTried = true;
    m_picture = decodeJpegResource(QStringLiteral(":/assets/gift.jpg"));
  }
  QPainter painter(this);
  painter.fillRect(rect(), QColor(255, 0, 0));
  if (!m_picture.isNull())
    painter.drawImage(QPoint(0, 0), m_picture); // at its own size: the bottom 3 rows fall outside
}

void GiftWindow::mousePressEvent(QMouseEvent *event) {
  // Drag-anywhere moving: a left press anywhere holds the box, as a title bar would.
  if (event->button() == Qt::LeftButton) {
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
  }
}

void GiftWindow::mouseMoveEvent(QMouseEvent *event) {
  if (m_dragging && (event->buttons() & Qt::LeftButton))
    move(event->globalPosition().toPoint() - m_dragOffset);
}

void GiftWindow::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton)
    m_dragging = false;
  else if (event->button() == Qt::RightButton)
    popupMenu(this, m_menu, kFile, event->globalPosition().toPoint());
}

void GiftWindow::mouseDoubleClickEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton)
    openDrawWindow();
}

} // namespace ui
