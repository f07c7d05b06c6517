#include "ui/control_theme.h"

namespace ui {

bool applyControlTheme(int) { return false; } // TEMPORARY: the theme is being built

} // namespace ui
