// Draw window scenarios: the real start-up on screens of other sizes.
#include "support/scenarios.h"

#include "ui/draw_window.h"
#include "ui/gift_window.h"

#include <QRect>
#include <QWidget>

namespace {

using support::report;
using support::step;

QString rectText(const QRect &r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

// Opens the draw window as the gift box does, reports where it is, and ends the program.
VOSTREL_SCENARIO(drawWindowGeometry) {
  step([] { ui::GiftWindow::openDrawWindow(); });
  step([] {
    const QWidget *w = ui::drawWindowSlot.window();
    if (!w) {
      report(QStringLiteral("draw absent"));
    } else {
      report(QStringLiteral("draw ") + rectText(w->geometry()));
      report(QStringLiteral("draw frame ") + rectText(w->frameGeometry()));
    }
    ui::GiftWindow::closeProgram();
  });
}
