#include "ui/edit_box.h"

#include "ui/display_text.h"

#include <QPalette>

namespace ui {

EditBox::EditBox(Border border, QWidget *parent) : QLineEdit(parent), m_border(border) {
  setFrame(true);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setFocusPolicy(Qt::StrongFocus);
}

std::string EditBox::boxText() const { return ui::gbkText(text()); }

void EditBox::setBoxText(const std::string &gbk) {
  setText(ui::displayText(gbk));
  // A text set by the program is shown from its start, as the desktop's edit boxes show it;
  // QLineEdit would put the caret at the end and scroll a long text to its last characters.
  setCursorPosition(0);
}

void EditBox::setColours(const QColor &text, const QColor &background) {
  QPalette p = palette();
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Base, background);
  setPalette(p);
}

} // namespace ui
