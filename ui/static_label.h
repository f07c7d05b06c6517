#pragma once
// The label: an opaque one-line text control. It fills its whole rectangle with its background
// colour and draws its text over that in its text colour; an "&" is drawn as it stands.

#include <QColor>
#include <QWidget>

#include <string>

namespace ui {

class StaticLabel : public QWidget {
  Q_OBJECT
public:
  explicit StaticLabel(QWidget *parent = nullptr);

  // The text as GBK bytes; the label keeps its own copy.
  const std::string &labelText() const { return m_text; }
  void setLabelText(const std::string &gbk);

  QColor textColour() const { return m_textColour; }
  void setTextColour(const QColor &colour);

  QColor backgroundColour() const { return m_background; }
  void setBackgroundColour(const QColor &colour);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  std::string m_text;
  QString m_shown;
  QColor m_textColour{0, 0, 0};
  QColor m_background{236, 236, 236};
};

} // namespace ui
