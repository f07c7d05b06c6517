#include "ui/transparent_label.h"

#include "ui/display_text.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ui {

TransparentLabel::TransparentLabel(QWidget *parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void TransparentLabel::setLabelText(const std::string &gbk) {
  m_text = gbk;
  m_shown = displayText(gbk);
  repaintUnder();
}

void TransparentLabel::setEffect(int effect) {
  m_effect = std::clamp(effect, 0, 3);
  repaintUnder();
}

void TransparentLabel::setLabelFont(const QFont &font) {
  setFont(font);
  repaintUnder();
}

void TransparentLabel::setTextColour(const QColor &colour) {
  m_colour = colour;
  repaintUnder();
}

void TransparentLabel::setHorizontalAlignment(int alignment) {
  m_horizontal = std::clamp(alignment, 0, 2);
  repaintUnder();
}

void TransparentLabel::setWordWrap(bool on) {
  m_wordWrap = on;
  repaintUnder();
}

void TransparentLabel::setVerticalAlignment(int alignment) {
  m_vertical = std::clamp(alignment, 0, 2);
  repaintUnder();
}

void TransparentLabel::repaintUnder() { repaint(); }

int TransparentLabel::flags() const { return 0; }

void TransparentLabel::paintEvent(QPaintEvent *) {
  if (m_shown.isEmpty())
    return;
  QPainter painter(this);
  painter.setPen(m_colour);
  painter.drawText(rect(), flags(), m_shown);
}

void TransparentLabel::mousePressEvent(QMouseEvent *event) {
  QWidget::mousePressEvent(event);
}

void TransparentLabel::moveEvent(QMoveEvent *event) { QWidget::moveEvent(event); }

} // namespace ui
