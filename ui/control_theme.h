#pragma once
// The control theme: the olive-green look of push buttons, edit boxes and group boxes.

namespace ui {

// Schemes 1, 2 and 3 (re)apply the theme to every existing window and every later one and
// succeed; any other number removes it, giving the themed controls their former look, and
// succeeds only when a theme was active.
bool applyControlTheme(int scheme);

} // namespace ui
