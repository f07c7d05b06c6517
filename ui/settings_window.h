#pragma once
// The settings window (placeholder until it is built).

#include "app/lifecycle.h"

namespace ui {

extern app::WindowSlot settingsWindowSlot;

class SettingsWindow : public app::ProgramWindow {
  Q_OBJECT
public:
  explicit SettingsWindow(QWidget *owner);
};

} // namespace ui
