#include "ui/control_theme.h"

#include "ui/olive_style.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace ui {

namespace {

struct ThemeState {
  bool active = false;
  QString platformStyle; // the style the theme sits on, put back when the theme comes off
};

ThemeState &themeState() {
  static ThemeState state;
  return state;
}

// A new instance each time: the application deletes the style it replaces, and a proxy deletes its base.
QStyle *freshPlatformStyle(const QString &name) {
  if (QStyle *style = QStyleFactory::create(name))
    return style;
  return QStyleFactory::create(QStringLiteral("Fusion")); // a style of the program's own, not in the factory
}

} // namespace

bool applyControlTheme(int scheme) {
  ThemeState &state = themeState();
  if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
    return false;

  if (scheme >= 1 && scheme <= 3) {
    if (!state.active)
      state.platformStyle = QApplication::style()->name();
    // The application style reaches every existing widget and every later one; setting a new
    // proxy over a new base takes the old theme off in the same step.
    QApplication::setStyle(new OliveStyle(scheme, freshPlatformStyle(state.platformStyle)));
    state.active = true;
    return true;
  }

  if (!state.active)
    return false;
  state.active = false;
  QApplication::setStyle(freshPlatformStyle(state.platformStyle));
  return true;
}

} // namespace ui
