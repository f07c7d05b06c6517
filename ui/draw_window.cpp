#include "ui/draw_window.h"

#include "app/lifecycle.h"
#include "app/program_state.h"
#include "draw/files.h"
#include "draw/gbk.h"
#include "draw/rolling_draw.h"
#include "draw/winner_list.h"
#include "ui/display_text.h"
#include "ui/fonts.h"
#include "ui/jpeg_image.h"
#include "ui/settings_window.h"
#include "ui/transparent_label.h"
#include "ui/window_timer.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

namespace ui {

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kRollingPeriod = 20;

const std::string kInitialNumber = draw::gbk("0000");
const std::string kCloseMark = draw::gbk("×");
const std::string kCredit = draw::gbk("欢迎中大奖！       By：keldrun    持续更新中...      期待...");
const std::string kStart = draw::gbk("开始");
const std::string kStop = draw::gbk("暂停");
const std::string kSettings = draw::gbk("设置");

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kPink(255, 168, 255);

struct LabelLook {
  const char *face;
  int pixelHeight;
  int weight;
  QColor colour;
  int effect;
  int horizontal;
  bool wordWrap;
  int vertical;
};

TransparentLabel *makeLabel(QWidget *window, const char *name, const QRect &place, const std::string &text,
                            const LabelLook &look) {
  auto *label = new TransparentLabel(window);
  label->setObjectName(QString::fromUtf8(name));
  label->setGeometry(place);
  label->setLabelFont(controlFont(look.face, look.pixelHeight, look.weight));
  label->setTextColour(look.colour);
  label->setEffect(look.effect);
  label->setHorizontalAlignment(look.horizontal);
  label->setWordWrap(look.wordWrap);
  label->setVerticalAlignment(look.vertical);
  label->setLabelText(text);
  return label;
}

// An ordinary push button with a tab stop; never a default button, so Enter clicks none.
QPushButton *makeButton(QWidget *window, const char *name, const QRect &place, const std::string &text) {
  auto *button = new QPushButton(displayText(text), window);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(place);
  button->setFont(controlFont("华文行楷", 27, 700));
  button->setAutoDefault(false);
  button->setDefault(false);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

QPoint centredOnPrimaryScreen() {
  const QScreen *screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->geometry().size() : QSize(kWidth, kHeight);
  // C++ division truncates toward zero, as the placement wants on screens smaller than us.
  return {(size.width() - kWidth) / 2, (size.height() - kHeight) / 2};
}

} // namespace

app::WindowSlot drawWindowSlot("draw", /*ownedByInvisibleOwner=*/false,
                               [](QWidget *owner) { return new DrawWindow(owner); });

DrawWindow::DrawWindow(QWidget *owner) : ProgramWindow(owner, Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("drawWindow"));
  setWindowTitle(QString());
  setAttribute(Qt::WA_OpaquePaintEvent); // the stage covers every pixel
  setGeometry(QRect(centredOnPrimaryScreen(), QSize(kWidth, kHeight)));
  setFixedSize(kWidth, kHeight);

  // Created bottom first, so the stacking order is the creation order.
  透明标签1 = makeLabel(this, "透明标签1", {24, 48, 1024, 128}, kInitialNumber,
                    {"宋体", 96, 700, kRed, TransparentLabel::Embossed, TransparentLabel::Centre, false,
                     TransparentLabel::Middle});
  透明标签2 = makeLabel(this, "透明标签2", {24, 184, 1024, 80}, std::string(),
                    {"楷体_GB2312", 56, 400, kBlue, TransparentLabel::Engraved, TransparentLabel::Centre, false,
                     TransparentLabel::Middle});
  时钟1 = new WindowTimer(this);
  时钟1->setObjectName(QStringLiteral("时钟1"));
  按钮1 = makeButton(this, "按钮1", {240, 600, 88, 48}, kStart);
  按钮2 = makeButton(this, "按钮2", {488, 600, 88, 48}, kStop);
  按钮3 = makeButton(this, "按钮3", {728, 600, 88, 48}, kSettings);
  透明标签3 = makeLabel(this, "透明标签3", {952, 8, 72, 56}, kCloseMark,
                    {"楷体_GB2312", 96, 700, kRed, TransparentLabel::Plain, TransparentLabel::Centre, false,
                     TransparentLabel::Middle});
  透明标签4 = makeLabel(this, "透明标签4", {848, 688, 184, 80}, kCredit,
                    {"楷体", 20, 700, kPink, TransparentLabel::Shadow, TransparentLabel::Left, true,
                     TransparentLabel::Top});

  connect(按钮1, &QPushButton::clicked, this, &DrawWindow::onStartClicked);
  connect(按钮2, &QPushButton::clicked, this, &DrawWindow::onStopClicked);
  connect(按钮3, &QPushButton::clicked, this, &DrawWindow::onSettingsClicked);
  connect(透明标签3, &TransparentLabel::leftButtonPressed, this, &DrawWindow::onCloseMarkPressed);
  connect(时钟1, &WindowTimer::elapsed, this, &DrawWindow::onTimerElapsed);
}

void DrawWindow::onStartClicked() { 时钟1->setPeriod(kRollingPeriod); }

void DrawWindow::onStopClicked() {
  时钟1->setPeriod(0);
  draw::announceAndRecord(draw::systemFiles(), app::runDirectory, *透明标签1, *透明标签2, app::winnerListText);
}

// Waits in the settings window's nested loop; this window may be gone when the load returns,
// so nothing of it is touched afterwards.
void DrawWindow::onSettingsClicked() { app::lifecycle().load(settingsWindowSlot, /*dialogMode=*/true); }

// On the press itself; the destruction is queued, so the label is still there afterwards.
void DrawWindow::onCloseMarkPressed() { app::lifecycle().destroy(drawWindowSlot); }

void DrawWindow::onTimerElapsed() {
  draw::drawTick(app::randomSource, *app::tickClock, app::drawSlots->element(1), app::personCount, *透明标签1);
}

void DrawWindow::paintEvent(QPaintEvent *event) {
  if (!m_stageTried) {
    m_stageTried = true;
    m_stage = decodeJpegResource(QStringLiteral(":/assets/stage.jpg"));
    // In the backing store's own format the per-tick redraw is a plain copy.
    if (!m_stage.isNull())
      m_stage = m_stage.convertToFormat(QImage::Format_RGB32);
  }
  QPainter painter(this);
  paintStage(painter, event->rect());
}

// The picture at its own size, repeated from the top-left corner; the button-face colour
// where no picture is.
void DrawWindow::paintStage(QPainter &painter, const QRect &area) {
  if (m_stage.isNull()) {
    painter.fillRect(area, QGuiApplication::palette().color(QPalette::Button));
    return;
  }
  const int w = m_stage.width();
  const int h = m_stage.height();
  for (int y = area.top() / h * h; y <= area.bottom(); y += h)
    for (int x = area.left() / w * w; x <= area.right(); x += w) {
      const QRect tile = QRect(x, y, w, h) & area;
      painter.drawImage(tile.topLeft(), m_stage, tile.translated(-x, -y));
    }
}

} // namespace ui
