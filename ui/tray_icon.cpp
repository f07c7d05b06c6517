#include "ui/tray_icon.h"

#include "ui/display_text.h"
#include "ui/icon_image.h"

#include <QPixmap>
#include <QSystemTrayIcon>

namespace ui {

TrayIcon::TrayIcon(QObject *parent, std::function<void(int)> trayEvent)
    : QObject(parent), m_trayEvent(std::move(trayEvent)) {}

TrayIcon::~TrayIcon() { remove(); }

std::string TrayIcon::cutTip(const std::string &gbkTip) { return std::string(draw::gbkPrefix(gbkTip, 62)); }

void TrayIcon::set(const QByteArray &icoBytes, const std::string &gbkTip) {
  const QImage image = trayImage(icoBytes);
  if (image.isNull()) {
    remove();
    return;
  }
  if (!m_icon) {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
      return; // no notification area: no icon and nothing to report
    m_icon = new QSystemTrayIcon(this);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      int type = 0;
      switch (reason) {
      case QSystemTrayIcon::Trigger:
        type = 1;
        break;
      case QSystemTrayIcon::DoubleClick:
        type = 2;
        break;
      case QSystemTrayIcon::Context:
        type = 3;
        break;
      default:
        return; // presses, moves and the middle button are no tray events
      }
      if (m_trayEvent)
        m_trayEvent(type);
    });
  }
  m_icon->setIcon(QIcon(QPixmap::fromImage(image)));
  m_icon->setToolTip(displayText(cutTip(gbkTip)));
  m_icon->show();
}

void TrayIcon::remove() {
  if (!m_icon)
    return;
  m_icon->hide();
  delete m_icon;
  m_icon = nullptr;
}

bool TrayIcon::shown() const { return m_icon && m_icon->isVisible(); }

} // namespace ui
