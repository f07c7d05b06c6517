#pragma once
// The timer control kind: one property, the period in milliseconds; 0 means stopped. Its
// period events come through the GUI event queue, in a nested loop of dialog mode too, and
// end with the window that holds it.

#include <QObject>

class QTimer;

namespace ui {

class WindowTimer : public QObject {
  Q_OBJECT
public:
  explicit WindowTimer(QObject *window);

  int period() const { return m_period; }
  // A negative period is 0. The same period again leaves a running timer in its phase; any
  // other stops it and, when above 0, starts it anew a whole period from now.
  void setPeriod(int milliseconds);

signals:
  void elapsed();

private:
  QTimer *m_timer;
  int m_period = 0;
};

} // namespace ui
