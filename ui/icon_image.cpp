#include "ui/icon_image.h"

namespace ui {
// TEMPORARY until the icon image rule lands.
QImage iconImageForWidth(const QByteArray &, int) { return {}; }
QImage trayImage(const QByteArray &ico) { return iconImageForWidth(ico, 16); }
} // namespace ui
