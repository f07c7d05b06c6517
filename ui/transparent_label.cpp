#include "ui/transparent_label.h"

#include "ui/display_text.h"

#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>

#include <algorithm>

namespace ui {

namespace {
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

int modifierBits(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ControlModifier ? TransparentLabel::Ctrl : 0) |
         (modifiers & Qt::ShiftModifier ? TransparentLabel::Shift : 0) |
         (modifiers & Qt::AltModifier ? TransparentLabel::Alt : 0);
}
} // namespace

TransparentLabel::TransparentLabel(QWidget *parent) : QWidget(parent) {
  // No background of its own and no focus: the label is only glyphs on its window.
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(false);
}

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

// The window's background under the label is drawn again at once, then every control over
// that area from the bottom up, the label among them: no old glyph survives, and a control
// lying over the label stays on top of it.
void TransparentLabel::repaintUnder() {
  QWidget *window = this->window();
  if (window == this)
    repaint();
  else
    window->repaint(QRect(mapTo(window, QPoint(0, 0)), size()));
}

int TransparentLabel::flags() const {
  static constexpr int kHorizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  static constexpr int kVertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  const int horizontal = kHorizontal[m_horizontal];
  // Qt's drawText takes "&" literally unless asked for mnemonics, so no prefix processing.
  if (m_wordWrap)
    return horizontal | Qt::AlignTop | Qt::TextWordWrap;
  return horizontal | kVertical[m_vertical] | Qt::TextSingleLine;
}

void TransparentLabel::paintEvent(QPaintEvent *) {
  if (m_shown.isEmpty())
    return;
  QPainter painter(this);
  painter.setFont(font());
  const QRect r = rect();
  const int f = flags();
  auto drawCopy = [&](const QColor &colour, const QRect &place) {
    painter.setPen(colour);
    painter.drawText(place, f, m_shown);
  };
  switch (m_effect) {
  case Engraved:
    drawCopy(kWhite, r.translated(1, 1));
    drawCopy(m_colour, r);
    break;
  case Embossed:
    drawCopy(kWhite, r);
    drawCopy(m_colour, r.translated(1, 1));
    break;
  case Shadow:
    drawCopy(kBlack, r.translated(2, 2));
    drawCopy(m_colour, r);
    break;
  default:
    drawCopy(m_colour, r);
    break;
  }
}

void TransparentLabel::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint at = event->position().toPoint();
    emit leftButtonPressed(at.x(), at.y(), modifierBits(event->modifiers()));
  }
  QWidget::mousePressEvent(event);
}

void TransparentLabel::moveEvent(QMoveEvent *event) {
  QWidget::moveEvent(event);
  QWidget *window = this->window();
  if (window == this || !isVisible())
    return;
  QWidget *parent = parentWidget();
  const QRect before(parent->mapTo(window, event->oldPos()), size());
  const QRect after(parent->mapTo(window, event->pos()), size());
  window->repaint(QRegion(before) + QRegion(after));
}

} // namespace ui
