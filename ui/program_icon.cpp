#include "ui/program_icon.h"

#include "ui/icon_image.h"

#include <QFile>
#include <QPixmap>

namespace ui {

QByteArray trayPictureBytes() {
  QFile file(QStringLiteral(":/assets/tray.ico"));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

QIcon programIcon() {
  const QImage image = trayImage(trayPictureBytes());
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

} // namespace ui
