#pragma once
// The drawing of the control theme: a proxy over the platform's own style that paints push
// buttons, check boxes, radio buttons, group boxes, framed edit boxes, combo boxes and spin
// boxes in one of three colour schemes and hands every other control to the platform style.

#include <QColor>
#include <QProxyStyle>

class QStyleOptionButton;
class QStyleOptionGroupBox;

namespace ui {

class OliveStyle : public QProxyStyle {
public:
  // Takes ownership of base, which must be a style of its own (not the application's current one).
  OliveStyle(int scheme, QStyle *base);

  void polish(QWidget *widget) override;
  void unpolish(QWidget *widget) override;
  using QProxyStyle::polish;
  using QProxyStyle::unpolish;

  void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                   const QWidget *widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                          const QWidget *widget = nullptr) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                       const QWidget *widget = nullptr) const override;

  // Whether a widget is drawn by the theme rather than by the platform style.
  static bool themesButton(const QWidget *widget);
  static bool themesEdit(const QWidget *widget);

private:
  void drawButtonBevel(const QStyleOptionButton &button, QPainter *painter) const;
  void drawButtonLabel(const QStyleOptionButton &button, QPainter *painter, const QWidget *widget) const;
  void drawButtonFocus(const QStyleOptionButton &button, QPainter *painter) const;
  void drawGroupBox(const QStyleOptionGroupBox &box, QPainter *painter, const QWidget *widget) const;
  QRect groupCaptionRect(const QStyleOptionGroupBox &box, const QWidget *widget) const;
  QRect groupCheckBoxRect(const QStyleOptionGroupBox &box, const QWidget *widget) const;

  QColor m_editBorder;
  QColor m_buttonBorder;
};

} // namespace ui
