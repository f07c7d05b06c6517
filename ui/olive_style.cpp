#include "ui/olive_style.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

const QColor kFaceTop(255, 255, 255);
const QColor kFaceBottom(226, 223, 214);
const QColor kCentreTop(252, 252, 251);
const QColor kCentreBottom(236, 225, 201);
const QColor kHotTop(255, 240, 207);
const QColor kHotBottom(229, 151, 0);
const QColor kPressedFace(239, 227, 206);
const QColor kDisabledFace(245, 244, 234);
const QColor kDisabledText(165, 162, 148);
const QColor kGroupFrame(191, 184, 191); // one colour for every scheme

struct SchemeColours {
  QColor edit;
  QColor button;
};

SchemeColours schemeColours(int scheme) {
  switch (scheme) {
  case 1: // blue
    return {QColor(123, 158, 189), QColor(0, 60, 115)};
  case 3: // silver
    return {QColor(198, 197, 215), QColor(0, 60, 116)};
  default: // olive green
    return {QColor(164, 185, 127), QColor(55, 98, 6)};
  }
}

// Set on a button whose hover tracking the theme switched on, so that only that is undone.
const char *const kHoverByTheme = "vostrelHoverByTheme";

// The desktop's button face: one colour whatever state the control is in.
QColor buttonFace(const QPalette &palette) { return palette.color(QPalette::Active, QPalette::Button); }

QColor darkened(const QColor &colour) {
  return QColor(std::max(0, colour.red() - 32), std::max(0, colour.green() - 32), std::max(0, colour.blue() - 32));
}

void fill(QPainter *painter, const QRect &rect, const QBrush &brush) {
  if (!rect.isEmpty())
    painter->fillRect(rect, brush);
}

// Row by row, so that the first and the last row carry the two colours exactly.
void fillVerticalGradient(QPainter *painter, const QRect &rect, const QColor &top, const QColor &bottom) {
  const int rows = rect.height();
  if (rect.isEmpty())
    return;
  const double span = rows > 1 ? rows - 1 : 1;
  auto mix = [span](int from, int to, int row) { return int(std::lround(from + (to - from) * (row / span))); };
  for (int row = 0; row < rows; ++row) {
    const QColor colour(mix(top.red(), bottom.red(), row), mix(top.green(), bottom.green(), row),
                        mix(top.blue(), bottom.blue(), row));
    painter->fillRect(QRect(rect.left(), rect.top() + row, rect.width(), 1), colour);
  }
}

// A 1-pixel ring on the edge of rect.
void outline(QPainter *painter, const QRect &rect, const QColor &colour) {
  if (rect.isEmpty())
    return;
  painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
  painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
  fill(painter, QRect(rect.left(), rect.top() + 1, 1, rect.height() - 2), colour);
  fill(painter, QRect(rect.right(), rect.top() + 1, 1, rect.height() - 2), colour);
}

int mnemonicFlag(const QStyle *style, const QStyleOption *option, const QWidget *widget) {
  return style->styleHint(QStyle::SH_UnderlineShortcut, option, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
}

} // namespace

OliveStyle::OliveStyle(int scheme, QStyle *base) : QProxyStyle(base) {
  const SchemeColours colours = schemeColours(scheme);
  m_editBorder = colours.edit;
  m_buttonBorder = colours.button;
}

bool OliveStyle::themesButton(const QWidget *widget) {
  const auto *button = qobject_cast<const QPushButton *>(widget);
  if (!button || qobject_cast<const QCommandLinkButton *>(button))
    return false;
  const bool hasText = !button->text().isEmpty();
  // A picture button keeps the look its picture was made for.
  if (!hasText && !button->icon().isNull())
    return false;
  // A bare button without text or any setting of its own is a placeholder, not a control to dress.
  if (!hasText && !button->isDefault() && !button->isFlat() && !button->isCheckable() && !button->menu())
    return false;
  return true;
}

bool OliveStyle::themesEdit(const QWidget *widget) {
  const auto *edit = qobject_cast<const QLineEdit *>(widget);
  return edit && edit->hasFrame();
}

void OliveStyle::polish(QWidget *widget) {
  QProxyStyle::polish(widget);
  if (themesButton(widget) && !widget->testAttribute(Qt::WA_Hover)) {
    widget->setAttribute(Qt::WA_Hover, true);
    widget->setProperty(kHoverByTheme, true);
  }
}

void OliveStyle::unpolish(QWidget *widget) {
  if (widget->property(kHoverByTheme).toBool()) {
    widget->setAttribute(Qt::WA_Hover, false);
    widget->setProperty(kHoverByTheme, QVariant());
  }
  QProxyStyle::unpolish(widget);
}

void OliveStyle::drawButtonBevel(const QStyleOptionButton &button, QPainter *painter) const {
  const QRect rect = button.rect;
  const QColor face = buttonFace(button.palette);
  const bool enabled = button.state & State_Enabled;
  const bool pressed = button.state & (State_Sunken | State_On);
  const bool hot =
      (button.state & (State_MouseOver | State_HasFocus)) || (button.features & QStyleOptionButton::DefaultButton);

  fill(painter, rect, face);
  // The border, its corner pixels left out so that the corners look rounded off.
  const QRect border = rect.adjusted(1, 1, -1, -1);
  const QColor borderColour = enabled ? m_buttonBorder : darkened(face);
  fill(painter, QRect(border.left() + 1, border.top(), border.width() - 2, 1), borderColour);
  fill(painter, QRect(border.left() + 1, border.bottom(), border.width() - 2, 1), borderColour);
  fill(painter, QRect(border.left(), border.top() + 1, 1, border.height() - 2), borderColour);
  fill(painter, QRect(border.right(), border.top() + 1, 1, border.height() - 2), borderColour);

  const QRect face2 = border.adjusted(1, 1, -1, -1);
  if (!enabled) {
    fill(painter, face2, kDisabledFace);
  } else if (pressed) {
    fill(painter, face2, kPressedFace);
  } else {
    fillVerticalGradient(painter, face2, hot ? kHotTop : kFaceTop, hot ? kHotBottom : kFaceBottom);
    fillVerticalGradient(painter, face2.adjusted(2, 2, -2, -2), kCentreTop, kCentreBottom);
  }

  if (button.features & QStyleOptionButton::HasMenu) {
    const int indicator = proxy()->pixelMetric(PM_MenuButtonIndicator, &button, nullptr);
    QStyleOptionButton arrow = button;
    arrow.rect = visualRect(
        button.direction, rect,
        QRect(rect.right() - indicator + 2, rect.height() / 2 - indicator / 2 + 3, indicator - 6, indicator - 6));
    arrow.palette.setColor(QPalette::ButtonText, enabled ? QColor(Qt::black) : kDisabledText);
    proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, nullptr);
  }
}

void OliveStyle::drawButtonLabel(const QStyleOptionButton &button, QPainter *painter, const QWidget *widget) const {
  const bool enabled = button.state & State_Enabled;
  QRect rect = button.rect.adjusted(2, 2, -2, -2);
  if (enabled && (button.state & (State_Sunken | State_On)))
    rect.translate(1, 1);
  if (button.features & QStyleOptionButton::HasMenu) {
    const int indicator = proxy()->pixelMetric(PM_MenuButtonIndicator, &button, widget);
    rect = button.direction == Qt::LeftToRight ? rect.adjusted(0, 0, -indicator, 0) : rect.adjusted(indicator, 0, 0, 0);
  }
  const int mnemonic = mnemonicFlag(proxy(), &button, widget);
  QRect textRect = rect;
  int textAlign = Qt::AlignCenter;

  if (!button.icon.isNull()) {
    QIcon::Mode mode = enabled ? QIcon::Normal : QIcon::Disabled;
    if (mode == QIcon::Normal && (button.state & State_HasFocus))
      mode = QIcon::Active;
    const QIcon::State iconState = (button.state & State_On) ? QIcon::On : QIcon::Off;
    const QPixmap pixmap = button.icon.pixmap(button.iconSize, painter->device()->devicePixelRatio(), mode, iconState);
    const QSize size = pixmap.deviceIndependentSize().toSize();
    const int gap = button.text.isEmpty() ? 0 : 4;
    const int textWidth = button.text.isEmpty() ? 0 : button.fontMetrics.size(mnemonic, button.text).width();
    const int left = rect.left() + (rect.width() - (size.width() + gap + textWidth)) / 2;
    const QRect iconRect(left, rect.top() + (rect.height() - size.height()) / 2, size.width(), size.height());
    painter->drawPixmap(visualRect(button.direction, rect, iconRect), pixmap);
    textRect =
        visualRect(button.direction, rect,
                   QRect(iconRect.right() + 1 + gap, rect.top(), rect.right() - iconRect.right() - gap, rect.height()));
    textAlign = Qt::AlignVCenter | (button.direction == Qt::LeftToRight ? Qt::AlignLeft : Qt::AlignRight);
  }

  if (!button.text.isEmpty()) {
    // The painter carries the button's own font; the theme only chooses the colour.
    painter->setPen(enabled ? QColor(Qt::black) : kDisabledText);
    painter->drawText(textRect, textAlign | mnemonic, button.text);
  }
}

// The desktop's dotted focus rectangle: every other pixel inverted, so it shows on any face.
void OliveStyle::drawButtonFocus(const QStyleOptionButton &button, QPainter *painter) const {
  const QRect rect = button.rect.adjusted(3, 3, -3, -3);
  if (rect.width() < 2 || rect.height() < 2)
    return;
  QPaintEngine *engine = painter->paintEngine();
  const bool invert = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
  painter->save();
  if (invert)
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const QColor dot = invert ? QColor(Qt::white) : QColor(Qt::black);
  auto dotAt = [&](int x, int y) {
    if ((x + y) % 2 == 0)
      painter->fillRect(QRect(x, y, 1, 1), dot);
  };
  for (int x = rect.left(); x <= rect.right(); ++x) {
    dotAt(x, rect.top());
    dotAt(x, rect.bottom());
  }
  for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
    dotAt(rect.left(), y);
    dotAt(rect.right(), y);
  }
  painter->restore();
}

void OliveStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const {
  const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
  if (button && themesButton(widget) &&
      (element == CE_PushButton || element == CE_PushButtonBevel || element == CE_PushButtonLabel)) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (element != CE_PushButtonLabel)
      drawButtonBevel(*button, painter);
    if (element != CE_PushButtonBevel)
      drawButtonLabel(*button, painter, widget);
    if (element == CE_PushButton && (button->state & State_HasFocus))
      drawButtonFocus(*button, painter);
    painter->restore();
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void OliveStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const {
  const QColor face = buttonFace(option->palette);
  const bool enabled = option->state & State_Enabled;

  if ((element == PE_PanelLineEdit || element == PE_FrameLineEdit) && themesEdit(widget)) {
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    if (!frame || frame->lineWidth > 0) {
      const bool readOnly = (option->state & State_ReadOnly) || static_cast<const QLineEdit *>(widget)->isReadOnly();
      painter->save();
      // The ring inside the frame is the box's own background, the button face where it takes no typing.
      if (element == PE_PanelLineEdit)
        fill(painter, option->rect, (!enabled || readOnly) ? QBrush(face) : option->palette.brush(QPalette::Base));
      else
        outline(painter, option->rect.adjusted(1, 1, -1, -1),
                (!enabled || readOnly) ? face : option->palette.color(QPalette::Base));
      outline(painter, option->rect, enabled ? m_editBorder : darkened(face));
      painter->restore();
      return;
    }
  }

  if (element == PE_IndicatorCheckBox && qobject_cast<const QCheckBox *>(widget)) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    painter->save();
    outline(painter, option->rect, enabled ? m_buttonBorder : darkened(face));
    painter->restore();
    return;
  }

  if (element == PE_IndicatorRadioButton && qobject_cast<const QRadioButton *>(widget)) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(enabled ? m_buttonBorder : darkened(face), 1));
    painter->drawEllipse(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5));
    painter->restore();
    return;
  }

  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QRect OliveStyle::groupCaptionRect(const QStyleOptionGroupBox &box, const QWidget *widget) const {
  const int mnemonic = mnemonicFlag(proxy(), &box, widget);
  const int textWidth = box.text.isEmpty() ? 0 : box.fontMetrics.size(mnemonic, box.text).width();
  int width = textWidth;
  int height = box.fontMetrics.height();
  if (box.subControls & SC_GroupBoxCheckBox) {
    width = proxy()->pixelMetric(PM_IndicatorWidth, &box, widget);
    if (textWidth > 0)
      width += proxy()->pixelMetric(PM_CheckBoxLabelSpacing, &box, widget) + textWidth;
    height = std::max(height, proxy()->pixelMetric(PM_IndicatorHeight, &box, widget));
  }
  if (width <= 0)
    return QRect();
  const QRect rect = box.rect;
  const Qt::Alignment align = visualAlignment(box.direction, box.textAlignment);
  int left = rect.left() + 9;
  if (align & Qt::AlignHCenter)
    left = rect.left() + (rect.width() - width) / 2;
  else if (align & Qt::AlignRight)
    left = rect.right() + 1 - 10 - width;
  return QRect(left, rect.top(), width, height);
}

QRect OliveStyle::groupCheckBoxRect(const QStyleOptionGroupBox &box, const QWidget *widget) const {
  const QRect caption = groupCaptionRect(box, widget);
  const int width = proxy()->pixelMetric(PM_IndicatorWidth, &box, widget);
  const int height = proxy()->pixelMetric(PM_IndicatorHeight, &box, widget);
  return visualRect(box.direction, caption,
                    QRect(caption.left(), caption.top() + (caption.height() - height) / 2, width, height));
}

void OliveStyle::drawGroupBox(const QStyleOptionGroupBox &box, QPainter *painter, const QWidget *widget) const {
  const QRect rect = box.rect;
  const int top = rect.top() + box.fontMetrics.height() / 2;
  const bool checkable = box.subControls & SC_GroupBoxCheckBox;
  const QRect caption =
      (box.subControls & (SC_GroupBoxLabel | SC_GroupBoxCheckBox)) ? groupCaptionRect(box, widget) : QRect();

  if (box.subControls & SC_GroupBoxFrame) {
    const bool flat = box.features & QStyleOptionFrame::Flat;
    const int left = rect.left();
    const int right = rect.right();
    const int bottom = rect.bottom();
    const int lineFrom = flat ? left : left + 3;
    const int lineTo = flat ? right : right - 3;
    // The top line stops behind the caption; the panel's own background shows there.
    auto topLine = [&](int from, int to) { fill(painter, QRect(from, top, to - from + 1, 1), kGroupFrame); };
    if (caption.isValid()) {
      topLine(lineFrom, std::min(lineTo, caption.left() - 1));
      topLine(std::max(lineFrom, caption.right() + 1), lineTo);
    } else {
      topLine(lineFrom, lineTo);
    }
    if (!flat) {
      fill(painter, QRect(left + 3, bottom, rect.width() - 6, 1), kGroupFrame);
      fill(painter, QRect(left, top + 3, 1, bottom - top - 5), kGroupFrame);
      fill(painter, QRect(right, top + 3, 1, bottom - top - 5), kGroupFrame);
      for (int step = 1; step <= 2; ++step) { // the corners, cut by 3-pixel diagonals
        fill(painter, QRect(left + step, top + 3 - step, 1, 1), kGroupFrame);
        fill(painter, QRect(right - step, top + 3 - step, 1, 1), kGroupFrame);
        fill(painter, QRect(left + step, bottom - 3 + step, 1, 1), kGroupFrame);
        fill(painter, QRect(right - step, bottom - 3 + step, 1, 1), kGroupFrame);
      }
    }
  }

  if (!caption.isValid())
    return;
  QRect textRect = caption;
  if (checkable) {
    const QRect checkRect = groupCheckBoxRect(box, widget);
    QStyleOptionButton indicator;
    indicator.QStyleOption::operator=(box);
    indicator.rect = checkRect;
    proxy()->drawPrimitive(PE_IndicatorCheckBox, &indicator, painter, widget);
    const int spacing = proxy()->pixelMetric(PM_CheckBoxLabelSpacing, &box, widget);
    textRect = visualRect(box.direction, caption,
                          QRect(caption.left() + checkRect.width() + spacing, caption.top(),
                                caption.width() - checkRect.width() - spacing, caption.height()));
  }
  if (!box.text.isEmpty()) {
    painter->setPen(box.palette.color(QPalette::WindowText));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | mnemonicFlag(proxy(), &box, widget), box.text);
  }
  if (checkable && (box.state & State_HasFocus)) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(box);
    focus.rect = caption;
    proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
  }
}

void OliveStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                    const QWidget *widget) const {
  if (control == CC_GroupBox && qobject_cast<const QGroupBox *>(widget)) {
    if (const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option)) {
      painter->save();
      painter->setRenderHint(QPainter::Antialiasing, false);
      drawGroupBox(*box, painter, widget);
      painter->restore();
      return;
    }
  }

  // Combo boxes and spin boxes keep the platform's drawing inside a frame in the edit colour.
  bool framed = false;
  if (control == CC_ComboBox && qobject_cast<const QComboBox *>(widget)) {
    const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
    framed = combo && combo->frame;
  } else if (control == CC_SpinBox && qobject_cast<const QAbstractSpinBox *>(widget) &&
             !qobject_cast<const QDateTimeEdit *>(widget)) {
    const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option);
    framed = spin && spin->frame;
  }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
  if (framed) {
    painter->save();
    const bool enabled = option->state & State_Enabled;
    outline(painter, option->rect, enabled ? m_editBorder : darkened(buttonFace(option->palette)));
    painter->restore();
  }
}

QRect OliveStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                                 const QWidget *widget) const {
  if (control == CC_GroupBox && qobject_cast<const QGroupBox *>(widget)) {
    if (const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option)) {
      switch (subControl) {
      case SC_GroupBoxFrame:
        return box->rect.adjusted(0, box->fontMetrics.height() / 2, 0, 0);
      case SC_GroupBoxLabel:
        return groupCaptionRect(*box, widget);
      case SC_GroupBoxCheckBox:
        return groupCheckBoxRect(*box, widget);
      default:
        break;
      }
    }
  }
  return QProxyStyle::subControlRect(control, option, subControl, widget);
}

} // namespace ui
