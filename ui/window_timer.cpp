#include "ui/window_timer.h"

#include <QTimer>

#include <algorithm>

namespace ui {

WindowTimer::WindowTimer(QObject *window) : QObject(window), m_timer(new QTimer(this)) {
  // A child QTimer, so the lifecycle's stop of a going window's timers reaches this one too.
  m_timer->setTimerType(Qt::PreciseTimer);
  connect(m_timer, &QTimer::timeout, this, &WindowTimer::elapsed);
}

void WindowTimer::setPeriod(int milliseconds) {
  const int period = std::max(milliseconds, 0);
  if (period == m_period)
    return;
  m_period = period;
  m_timer->stop();
  if (period > 0)
    m_timer->start(period);
}

} // namespace ui
