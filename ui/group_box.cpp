#include "ui/group_box.h"

#include "ui/display_text.h"

#include <QPalette>

namespace ui {

GroupBox::GroupBox(QWidget *parent) : QGroupBox(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
}

std::string GroupBox::caption() const { return gbkText(title()); }

void GroupBox::setCaption(const std::string &gbk) { setTitle(displayText(gbk)); }

void GroupBox::setColours(const QColor &text, const QColor &background) {
  QPalette p = palette();
  p.setColor(QPalette::Window, background);
  // Styles take the caption colour from WindowText or Text (SH_GroupBox_TextLabelColor): set
  // both. The edit boxes inside set their own Text role, so they are not coloured by this.
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Text, text);
  setPalette(p);
}

} // namespace ui
