#include "ui/fonts.h"

#include <QString>
#include <QStringList>

namespace ui {

namespace {
const QString kSong = QStringLiteral("AR PL SungtiL GB"); // fonts-arphic-gbsn00lp
const QString kKai = QStringLiteral("AR PL KaitiM GB");   // fonts-arphic-gkai00mp
} // namespace

void installFontSubstitutions() {
  const QStringList song{kSong, QString::fromUtf8("AR PL UMing CN")};
  const QStringList kai{kKai, QString::fromUtf8("AR PL UKai CN")};
  QFont::insertSubstitutions(QString::fromUtf8("宋体"), song);
  QFont::insertSubstitutions(QString::fromUtf8("楷体_GB2312"), kai);
  QFont::insertSubstitutions(QString::fromUtf8("楷体"), kai);
  // Debian has no running-script font with simplified Chinese; Kai is the nearest hand.
  QFont::insertSubstitutions(QString::fromUtf8("华文行楷"), kai);
}

QFont controlFont(const char *faceUtf8, int pixelHeight, int weight) {
  QFont font(QString::fromUtf8(faceUtf8));
  font.setPixelSize(pixelHeight);
  font.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setStyleStrategy(QFont::PreferQuality);
  return font;
}

} // namespace ui
