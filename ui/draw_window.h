#pragma once
// The draw window: the stage picture with the rolling number, the announcement, the close
// mark, the credit line and the three buttons that start, stop and configure the draw.

#include "app/lifecycle.h"

#include <QImage>

class QPushButton;

namespace ui {

class TransparentLabel;
class WindowTimer;

extern app::WindowSlot drawWindowSlot;

class DrawWindow : public app::ProgramWindow {
  Q_OBJECT
public:
  explicit DrawWindow(QWidget *owner);

  // Handlers of the window's control events, one each.
  void onStartClicked();
  void onStopClicked();
  static void onSettingsClicked();
  static void onCloseMarkPressed();
  void onTimerElapsed();

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  void paintStage(QPainter &painter, const QRect &area);

  // The controls, bottom of the stacking order first.
  TransparentLabel *透明标签1;
  TransparentLabel *透明标签2;
  WindowTimer *时钟1;
  QPushButton *按钮1;
  QPushButton *按钮2;
  QPushButton *按钮3;
  TransparentLabel *透明标签3;
  TransparentLabel *透明标签4;

  QImage m_stage; // decoded at the first paint, kept until the window goes
  bool m_stageTried = false;
};

} // namespace ui
