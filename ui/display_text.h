#pragma once
// The one crossing between the program's GBK texts and what Qt shows or returns.

#include "draw/gbk.h"

#include <QString>

#include <string>

namespace ui {

inline QString displayText(const std::string &gbk) { return QString::fromStdString(draw::gbkToUtf8(gbk)); }
inline std::string gbkText(const QString &shown) { return draw::utf8ToGbk(shown.toStdString()); }

} // namespace ui
