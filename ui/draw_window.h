#pragma once
// The draw window (placeholder until the stage is built).

#include "app/lifecycle.h"

namespace ui {

extern app::WindowSlot drawWindowSlot;

class DrawWindow : public app::ProgramWindow {
  Q_OBJECT
public:
  explicit DrawWindow(QWidget *owner);
};

} // namespace ui
