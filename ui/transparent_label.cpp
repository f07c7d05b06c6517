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
  m_glyphs.clear();
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
  switch (m_effect) {
  case Engraved:
    drawCopy(painter, kWhite, r.translated(1, 1));
    drawCopy(painter, m_colour, r);
    break;
  case Embossed:
    drawCopy(painter, kWhite, r);
    drawCopy(painter, m_colour, r.translated(1, 1));
    break;
  case Shadow:
    drawCopy(painter, kBlack, r.translated(2, 2));
    drawCopy(painter, m_colour, r);
    break;
  default:
    drawCopy(painter, m_colour, r);
    break;
  }
}

void TransparentLabel::drawCopy(QPainter &painter, const QColor &colour, const QRect &place) {
  constexpr int kLargestCachedByQt = 64;
  if (!m_wordWrap && font().pixelSize() > kLargestCachedByQt) {
    drawLineFromGlyphImages(painter, colour, place);
    return;
  }
  painter.setPen(colour);
  painter.drawText(place, flags(), m_shown);
}

const TransparentLabel::GlyphImage &TransparentLabel::glyphImage(char32_t character, QRgb colour) {
  const quint64 key = (quint64(character) << 32) | colour;
  auto it = m_glyphs.find(key);
  if (it != m_glyphs.end())
    return *it;
  const QFontMetrics metrics(font());
  const QString text = QString::fromUcs4(&character, 1);
  const int margin = font().pixelSize() / 4 + 2; // room for emboldening and overhangs
  GlyphImage glyph;
  glyph.advance = metrics.horizontalAdvance(text);
  glyph.origin = QPoint(margin, margin + metrics.ascent());
  glyph.image = QImage(glyph.advance + 2 * margin, metrics.height() + 2 * margin, QImage::Format_ARGB32_Premultiplied);
  glyph.image.fill(Qt::transparent);
  QPainter p(&glyph.image);
  p.setFont(font());
  p.setPen(QColor::fromRgb(colour));
  p.drawText(glyph.origin, text);
  p.end();
  // Only the inked part is kept, so each paint blends as few pixels as it can.
  QRect ink;
  for (int y = 0; y < glyph.image.height(); ++y) {
    const auto *line = reinterpret_cast<const QRgb *>(glyph.image.constScanLine(y));
    for (int x = 0; x < glyph.image.width(); ++x)
      if (qAlpha(line[x]))
        ink |= QRect(x, y, 1, 1);
  }
  if (ink.isEmpty())
    ink = QRect(0, 0, 1, 1);
  glyph.image = glyph.image.copy(ink);
  glyph.origin -= ink.topLeft();
  return *m_glyphs.insert(key, glyph);
}

void TransparentLabel::drawLineFromGlyphImages(QPainter &painter, const QColor &colour, const QRect &place) {
  const QList<uint> characters = m_shown.toUcs4();
  int width = 0;
  for (uint c : characters)
    width += glyphImage(c, colour.rgb()).advance;
  const QFontMetrics metrics(font());
  int x = place.left();
  if (m_horizontal == Centre)
    x += (place.width() - width) / 2;
  else if (m_horizontal == Right)
    x += place.width() - width;
  int baseline = place.top() + metrics.ascent();
  if (m_vertical == Middle)
    baseline += (place.height() - metrics.height()) / 2;
  else if (m_vertical == Bottom)
    baseline += place.height() - metrics.height();
  for (uint c : characters) {
    const GlyphImage &glyph = glyphImage(c, colour.rgb());
    painter.drawImage(QPoint(x, baseline) - glyph.origin, glyph.image);
    x += glyph.advance;
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
