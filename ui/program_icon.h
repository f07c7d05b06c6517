#pragma once
// The program's icon: the tray picture, also the icon of the windows' taskbar buttons.

#include <QByteArray>
#include <QIcon>

namespace ui {

QByteArray trayPictureBytes(); // the ICO file, as compiled into the program
QIcon programIcon();

} // namespace ui
