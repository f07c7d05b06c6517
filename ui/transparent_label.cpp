#include "ui/transparent_label.h"

#include "ui/display_text.h"

#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
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

// The copies an effect draws, bottom first: a white or black copy at its offset, then the
// text in its colour at its own offset.
TransparentLabel::Copies TransparentLabel::copies() const {
  switch (m_effect) {
  case Engraved:
    return {{{kWhite, QPoint(1, 1)}, {m_colour, QPoint(0, 0)}}};
  case Embossed:
    return {{{kWhite, QPoint(0, 0)}, {m_colour, QPoint(1, 1)}}};
  case Shadow:
    return {{{kBlack, QPoint(2, 2)}, {m_colour, QPoint(0, 0)}}};
  default:
    return {{{m_colour, QPoint(0, 0)}}};
  }
}

void TransparentLabel::paintEvent(QPaintEvent *event) {
  if (m_shown.isEmpty())
    return;
  constexpr int kLargestCachedByQt = 64;
  if (!m_wordWrap && font().pixelSize() > kLargestCachedByQt) {
    drawLineFromGlyphImages(event->region());
    return;
  }
  QPainter painter(this);
  painter.setFont(font());
  for (const Copy &copy : copies()) {
    painter.setPen(copy.colour);
    painter.drawText(rect().translated(copy.offset), flags(), m_shown);
  }
}

TransparentLabel::GlyphImage TransparentLabel::glyphImage(char32_t character, QRgb colour) {
  const quint64 key = (quint64(character) << 32) | (colour & RGB_MASK);
  auto it = m_glyphs.constFind(key);
  if (it != m_glyphs.constEnd())
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
  m_glyphs.insert(key, glyph);
  return glyph;
}

// Both copies of a two-copy effect put together once, the lower copy first, so a paint
// blends each pixel once instead of twice.
TransparentLabel::GlyphImage TransparentLabel::effectGlyphImage(char32_t character) {
  const quint64 key = (quint64(character) << 32) | (quint64(m_effect) << 24) | (m_colour.rgb() & RGB_MASK);
  auto it = m_glyphs.constFind(key);
  if (it != m_glyphs.constEnd())
    return *it;
  const Copies layers = copies();
  GlyphImage parts[2];
  QRect boxes[2];
  QRect box;
  for (int i = 0; i < 2; ++i) {
    parts[i] = glyphImage(character, layers[i].colour.rgb());
    boxes[i] = QRect(layers[i].offset - parts[i].origin, parts[i].image.size());
    box |= boxes[i];
  }
  GlyphImage glyph;
  glyph.advance = parts[0].advance;
  glyph.origin = -box.topLeft();
  glyph.image = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
  glyph.image.fill(Qt::transparent);
  QPainter p(&glyph.image);
  for (int i = 0; i < 2; ++i)
    p.drawImage(boxes[i].topLeft() - box.topLeft(), parts[i].image);
  p.end();
  m_glyphs.insert(key, glyph);
  return glyph;
}

void TransparentLabel::drawLineFromGlyphImages(const QRegion &due) {
  const QList<uint> characters = m_shown.toUcs4();
  const Copies layers = copies();
  // Two copies are tried as one image per character first; see below.
  const bool composed = layers.size() == 2;
  QVarLengthArray<GlyphImage, 16> glyphs;
  int width = 0;
  for (uint c : characters) {
    glyphs.append(composed ? effectGlyphImage(c) : glyphImage(c, layers[0].colour.rgb()));
    width += glyphs.back().advance;
  }
  const QFontMetrics metrics(font());
  const QRect place = rect();
  QPoint pen(place.left(), place.top() + metrics.ascent());
  if (m_horizontal == Centre)
    pen.rx() += (place.width() - width) / 2;
  else if (m_horizontal == Right)
    pen.rx() += place.width() - width;
  if (m_vertical == Middle)
    pen.ry() += (place.height() - metrics.height()) / 2;
  else if (m_vertical == Bottom)
    pen.ry() += place.height() - metrics.height();

  struct Placed {
    QImage image;
    QPoint at;
  };
  QVarLengthArray<Placed, 16> placed;
  QRect inked;
  auto put = [&](const GlyphImage &glyph, QPoint penAt) {
    placed.append({glyph.image, penAt - glyph.origin});
    const QRect box(placed.back().at, glyph.image.size());
    const bool apart = !box.intersects(inked);
    inked |= box;
    return apart;
  };
  // Places a line of glyphs from `start`; false when any two glyphs placed so far meet.
  auto putLine = [&](const QVarLengthArray<GlyphImage, 16> &line, QPoint start) {
    bool apart = true;
    for (const GlyphImage &glyph : line) {
      apart = put(glyph, start) && apart;
      start.rx() += glyph.advance;
    }
    return apart;
  };
  // Glyphs put together per character give the same picture as one whole copy after the
  // other only while no two characters' ink boxes meet; otherwise the copies go one by one.
  if (!putLine(glyphs, pen) && composed) {
    placed.clear();
    inked = QRect();
    for (const Copy &copy : layers) {
      glyphs.clear();
      for (uint c : characters)
        glyphs.append(glyphImage(c, copy.colour.rgb()));
      putLine(glyphs, pen + copy.offset);
    }
  }
  // A repaint that only grazes the label, touching none of its ink, needs no painter at all.
  if (!due.intersects(inked))
    return;
  QPainter painter(this);
  for (const Placed &glyph : placed)
    painter.drawImage(glyph.at, glyph.image);
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
