#include "ui/draw_window.h"

namespace ui {

app::WindowSlot drawWindowSlot("draw", /*ownedByInvisibleOwner=*/false,
                               [](QWidget *owner) { return new DrawWindow(owner); });

DrawWindow::DrawWindow(QWidget *owner) : ProgramWindow(owner, Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("drawWindow"));
  resize(1024, 768);
}

} // namespace ui
