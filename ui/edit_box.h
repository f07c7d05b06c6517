#pragma once
// The edit box: the standard single-line text entry, with a text colour, a background colour
// and one of two borders. It stays a QLineEdit, so the control theme's style draws its frame.

#include <QColor>
#include <QLineEdit>

#include <string>

namespace ui {

class EditBox : public QLineEdit {
  Q_OBJECT
  // The border kind, for the theme to read; a themed edit box with either border gets the
  // theme's one-pixel frame in place of its own.
  Q_PROPERTY(int border READ border)
public:
  enum Border { Sunken = 0, StaticEdge = 1 };

  explicit EditBox(Border border, QWidget *parent = nullptr);

  int border() const { return m_border; }

  // The current text as GBK bytes; empty when the box is empty.
  std::string boxText() const;
  void setBoxText(const std::string &gbk);

  void setColours(const QColor &text, const QColor &background);

private:
  Border m_border;
};

} // namespace ui
