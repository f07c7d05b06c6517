#include "ui/static_label.h"

#include "ui/display_text.h"

#include <QPainter>

namespace ui {

StaticLabel::StaticLabel(QWidget *parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  // Every pixel is ours: nothing of the parent needs drawing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StaticLabel::setLabelText(const std::string &gbk) {
  m_text = gbk;
  m_shown = displayText(gbk);
  update();
}

void StaticLabel::setTextColour(const QColor &colour) {
  m_textColour = colour;
  update();
}

void StaticLabel::setBackgroundColour(const QColor &colour) {
  m_background = colour;
  update();
}

void StaticLabel::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.fillRect(rect(), m_background);
  if (m_shown.isEmpty())
    return;
  painter.setFont(font());
  painter.setPen(m_textColour);
  // No Qt::TextShowMnemonic: the text is drawn exactly as typed, "&" included.
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_shown);
}

} // namespace ui
