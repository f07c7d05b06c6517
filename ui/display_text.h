#pragma once
// The one crossing between the program's GBK texts and what Qt shows or returns.

#include "draw/gbk.h"

#include <QString>

#include <algorithm>
#include <string>

namespace ui {

// ASCII is the same in GBK, and the rolling number is nothing else, so it skips the converter.
inline QString displayText(const std::string &gbk) {
  if (std::all_of(gbk.begin(), gbk.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return QString::fromLatin1(gbk.data(), qsizetype(gbk.size()));
  return QString::fromStdString(draw::gbkToUtf8(gbk));
}
inline std::string gbkText(const QString &shown) { return draw::utf8ToGbk(shown.toStdString()); }

} // namespace ui
