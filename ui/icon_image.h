#pragma once
// The icon image rule: which image of an ICO file the notification area gets, and making it.

#include <QByteArray>
#include <QImage>

namespace ui {

// The image for wanted width n: the first directory entry whose width byte is n and whose
// colour-count byte is at least 16, otherwise the last entry. A bad header gives no image
// (a null QImage).
QImage iconImageForWidth(const QByteArray &ico, int n);

// The rule as the tray uses it: width 16 first, and 32 only when 16 made no image at all.
QImage trayImage(const QByteArray &ico);

} // namespace ui
