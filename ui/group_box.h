#pragma once
// The group box: a framed panel with its caption at the top edge, holding its controls as
// child widgets placed relative to it and cut off at its edges. It stays a QGroupBox, so the
// control theme's style draws its frame and caption.

#include <QColor>
#include <QGroupBox>

#include <string>

namespace ui {

class GroupBox : public QGroupBox {
  Q_OBJECT
public:
  explicit GroupBox(QWidget *parent = nullptr);

  // The caption as GBK bytes.
  std::string caption() const;
  void setCaption(const std::string &gbk);

  // The whole rectangle is filled with the background colour; the caption is drawn in the text
  // colour. Controls inside keep colours of their own.
  void setColours(const QColor &text, const QColor &background);
};

} // namespace ui
