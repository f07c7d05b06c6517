#pragma once
// The settings window: the small modal dialog in which the host sets the person count, the
// upper bound of the draw. Only the draw window's "设置" opens it, in dialog mode; it is made
// anew each time with an empty entry box.

#include "app/lifecycle.h"

class QPushButton;

namespace ui {

class EditBox;
class GroupBox;
class StaticLabel;
class TransparentLabel;

extern app::WindowSlot settingsWindowSlot;

class SettingsWindow : public app::ProgramWindow {
  Q_OBJECT
public:
  explicit SettingsWindow(QWidget *owner);

  // Handlers of the window's events, one each.
  void onConfirmClicked(); // 按钮1 "确定": confirm person count
  void onQuitClicked();    // 按钮3 "退出"

protected:
  void showEvent(QShowEvent *event) override;
  void moveEvent(QMoveEvent *event) override;

private:
  void fitOuterFrame();

  // The controls, in the order of the window's control table.
  GroupBox *分组框1;
  StaticLabel *标签1;
  EditBox *编辑框2;
  QPushButton *按钮1;
  GroupBox *分组框2;
  EditBox *编辑框1;
  QPushButton *按钮2;
  QPushButton *按钮3;
  TransparentLabel *透明标签1;
};

} // namespace ui
