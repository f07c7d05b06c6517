#pragma once
// The transparent label: a text drawn straight onto its window's background, with one of four
// text effects. It has no background of its own, so the window's picture shows through
// wherever no glyph is, and every property change repaints the area under it at once.

#include "draw/text_label.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QVarLengthArray>
#include <QWidget>

#include <string>

class QPainter;

namespace ui {

class TransparentLabel : public QWidget, public draw::TextLabel {
  Q_OBJECT
public:
  enum Effect { Plain = 0, Engraved = 1, Embossed = 2, Shadow = 3 };
  enum HorizontalAlignment { Left = 0, Centre = 1, Right = 2 };
  enum VerticalAlignment { Top = 0, Middle = 1, Bottom = 2 };
  // The modifier keys of a press, as the press handlers receive them.
  enum Modifier { Ctrl = 1, Shift = 2, Alt = 4 };

  explicit TransparentLabel(QWidget *parent = nullptr);

  // The text as GBK bytes; the label keeps its own copy.
  std::string labelText() const override { return m_text; }
  void setLabelText(const std::string &gbk) override;

  int effect() const { return m_effect; }
  void setEffect(int effect); // clamped to 0..3

  QFont labelFont() const { return font(); }
  void setLabelFont(const QFont &font);

  QColor textColour() const { return m_colour; }
  void setTextColour(const QColor &colour);

  int horizontalAlignment() const { return m_horizontal; }
  void setHorizontalAlignment(int alignment); // clamped to 0..2

  bool wordWrap() const { return m_wordWrap; }
  void setWordWrap(bool on);

  // Used only while word wrap is off.
  int verticalAlignment() const { return m_vertical; }
  void setVerticalAlignment(int alignment); // clamped to 0..2

signals:
  // The left mouse button went down over the label; x and y within it, modifiers as Modifier bits.
  void leftButtonPressed(int x, int y, int modifiers);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  // A moved label repaints the areas it left and entered at once, as a property change does.
  void moveEvent(QMoveEvent *event) override;

private:
  void repaintUnder();
  int flags() const;
  struct Copy {
    QColor colour;
    QPoint offset;
  };
  using Copies = QVarLengthArray<Copy, 2>;
  Copies copies() const; // what the effect draws, bottom first

  // Qt draws glyphs above 64 px as outlines every time; the number rolls at that size, so a
  // single line of a large font is put together from glyph images made once per character.
  struct GlyphImage {
    QImage image;
    QPoint origin; // the pen position within the image
    int advance = 0;
  };
  // Images are implicitly shared, so handing them out by value costs no pixels.
  GlyphImage glyphImage(char32_t character, QRgb colour);
  GlyphImage effectGlyphImage(char32_t character);
  // Draws the line, or nothing at all when `due` misses its ink.
  void drawLineFromGlyphImages(const QRegion &due);
  QHash<quint64, GlyphImage> m_glyphs; // by character and colour, and effect for both copies in one

  std::string m_text;
  QString m_shown;
  int m_effect = Plain;
  QColor m_colour{0, 0, 0};
  int m_horizontal = Left;
  bool m_wordWrap = false;
  int m_vertical = Top;
};

} // namespace ui
