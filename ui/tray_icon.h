#pragma once
// A window's icon in the notification area, with its tip and its mouse actions as tray
// event types: 1 left release, 2 left double-click, 3 right release or context-menu key.

#include <QByteArray>
#include <QObject>

#include <functional>
#include <string>

class QSystemTrayIcon;

namespace ui {

class TrayIcon : public QObject {
  Q_OBJECT
public:
  explicit TrayIcon(QObject *parent, std::function<void(int)> trayEvent);
  ~TrayIcon() override;

  // Set tray icon: the image from the ICO bytes by the icon image rule, the tip cut to 62
  // bytes. Without an image an existing icon is removed.
  void set(const QByteArray &icoBytes, const std::string &gbkTip);
  void remove();
  bool shown() const;
  QSystemTrayIcon *systemIcon() const { return m_icon; }

  // The tip as it goes to the notification area: at most 62 bytes, never half a character.
  static std::string cutTip(const std::string &gbkTip);

private:
  std::function<void(int)> m_trayEvent;
  QSystemTrayIcon *m_icon = nullptr;
};

} // namespace ui
