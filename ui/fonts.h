#pragma once
// Control fonts: a stored face name, a character height in pixels, a weight. The four faces
// of the windows are Windows faces; each maps to an installed Debian CJK font.

#include <QFont>

#include <string>

namespace ui {

// Maps "宋体", "楷体_GB2312", "楷体" and "华文行楷" to the Debian Song and Kai fonts.
void installFontSubstitutions();

// faceUtf8 as the window's table gives it; pixelHeight is the character height (the em
// height, without internal leading); weight 400 normal, 700 bold.
QFont controlFont(const char *faceUtf8, int pixelHeight, int weight);

} // namespace ui
