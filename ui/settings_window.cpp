#include "ui/settings_window.h"

#include "app/program_state.h"
#include "draw/gbk.h"
#include "draw/number.h"
#include "ui/control_theme.h"
#include "ui/display_text.h"
#include "ui/edit_box.h"
#include "ui/fonts.h"
#include "ui/group_box.h"
#include "ui/static_label.h"
#include "ui/transparent_label.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

namespace ui {

namespace {

// The outer size, frame and title bar included.
constexpr int kWidth = 349;
constexpr int kHeight = 182;

const std::string kTitle = draw::gbk("Vostrel    By：keldrun");
const std::string kPeople = draw::gbk("人员设定");
const std::string kCountCaption = draw::gbk("人数：");
const std::string kConfirm = draw::gbk("确定");
const std::string kOther = draw::gbk("其他待处理...");
const std::string kPlaceholderEdit = draw::gbk("功能待该进...");
const std::string kPlaceholderButton = draw::gbk("待设置");
const std::string kQuit = draw::gbk("退出");
const std::string kDots = draw::gbk("... ...");

const QColor kRed(255, 0, 0);
const QColor kPanel(236, 236, 236);
const QColor kGreen(0, 128, 0);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

constexpr const char *kKai = "楷体_GB2312";

// The system's default GUI font, marked as set in full: a control inside a panel would
// otherwise inherit the panel's Kai caption font.
QFont defaultGuiFont() {
  QFont font = QGuiApplication::font();
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

template <class T> T *named(T *control, const char *objectName) {
  control->setObjectName(QString::fromUtf8(objectName));
  return control;
}

GroupBox *makePanel(QWidget *parent, const char *objectName, const std::string &caption, const QRect &place) {
  auto *box = named(new GroupBox(parent), objectName);
  box->setCaption(caption);
  box->setFont(controlFont(kKai, 16, 400));
  box->setColours(kGreen, kPanel);
  box->setAlignment(Qt::AlignHCenter);
  box->setGeometry(place);
  return box;
}

// An ordinary push button: never the default one, so Enter clicks none of them.
QPushButton *makeButton(QWidget *parent, const char *objectName, const std::string &text, const QRect &place) {
  auto *button = named(new QPushButton(displayText(text), parent), objectName);
  button->setFont(defaultGuiFont());
  button->setAutoDefault(false);
  button->setDefault(false);
  button->setFocusPolicy(Qt::StrongFocus);
  button->setGeometry(place);
  return button;
}

} // namespace

app::WindowSlot settingsWindowSlot("settings", /*ownedByInvisibleOwner=*/true,
                                   [](QWidget *owner) { return new SettingsWindow(owner); });

SettingsWindow::SettingsWindow(QWidget *owner)
    : ProgramWindow(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("settingsWindow"));
  setWindowTitle(displayText(kTitle));
  QPalette p = palette();
  p.setColor(QPalette::Window, kRed);
  setPalette(p);
  setAutoFillBackground(true);
  setFixedSize(kWidth, kHeight);
  // Centred, the divisions cut toward zero even on a screen smaller than the window (centring
  // with QRect::center() would round down there); move() places the outer frame.
  const QScreen *screen = QGuiApplication::primaryScreen();
  const QSize s = screen ? screen->geometry().size() : QSize(kWidth, kHeight);
  move((s.width() - kWidth) / 2, (s.height() - kHeight) / 2);

  分组框1 = makePanel(this, "分组框1", kPeople, QRect(0, 0, 168, 152));
  标签1 = named(new StaticLabel(分组框1), "标签1");
  标签1->setLabelText(kCountCaption);
  标签1->setFont(controlFont(QGuiApplication::font().family().toUtf8().constData(), 15, 400));
  标签1->setTextColour(kRed);
  标签1->setBackgroundColour(kPanel);
  标签1->setGeometry(8, 48, 48, 24);
  编辑框2 = named(new EditBox(EditBox::Sunken, 分组框1), "编辑框2");
  编辑框2->setFont(defaultGuiFont());
  编辑框2->setColours(kBlack, kWhite);
  编辑框2->setGeometry(56, 48, 88, 24);
  按钮1 = makeButton(分组框1, "按钮1", kConfirm, QRect(64, 96, 48, 24));

  分组框2 = makePanel(this, "分组框2", kOther, QRect(168, 0, 176, 152));
  编辑框1 = named(new EditBox(EditBox::StaticEdge, 分组框2), "编辑框1");
  编辑框1->setBoxText(kPlaceholderEdit);
  编辑框1->setFont(controlFont(kKai, 12, 400));
  编辑框1->setColours(kGreen, kWhite);
  编辑框1->setGeometry(16, 48, 80, 24);
  按钮2 = makeButton(分组框2, "按钮2", kPlaceholderButton, QRect(112, 48, 56, 24));
  按钮3 = makeButton(分组框2, "按钮3", kQuit, QRect(112, 80, 56, 24));
  透明标签1 = named(new TransparentLabel(分组框2), "透明标签1");
  透明标签1->setLabelText(kDots);
  透明标签1->setLabelFont(defaultGuiFont());
  透明标签1->setTextColour(kGreen);
  透明标签1->setEffect(TransparentLabel::Plain);
  透明标签1->setHorizontalAlignment(TransparentLabel::Centre);
  透明标签1->setWordWrap(true);
  // It reaches 8 px below the panel, which cuts that part off.
  透明标签1->setGeometry(56, 112, 96, 48);

  connect(按钮1, &QPushButton::clicked, this, &SettingsWindow::onConfirmClicked);
  connect(按钮3, &QPushButton::clicked, this, &SettingsWindow::onQuitClicked);
  // 按钮2 "待设置" has no handler: a click does nothing.
}

void SettingsWindow::onConfirmClicked() {
  applyControlTheme(2);
  const std::string typed = 编辑框2->boxText();
  app::personCount = draw::truncateToInteger(draw::textToNumber(typed));
}

void SettingsWindow::onQuitClicked() { app::lifecycle().destroy(settingsWindowSlot); }

void SettingsWindow::showEvent(QShowEvent *event) {
  ProgramWindow::showEvent(event);
  fitOuterFrame();
}

void SettingsWindow::moveEvent(QMoveEvent *event) {
  ProgramWindow::moveEvent(event);
  fitOuterFrame();
}

// The size is that of the outer frame. Where the desktop draws a frame, its margins are only
// known once the window is shown (a window manager reports them after mapping it), so the
// client area shrinks by them then; without a frame the client area keeps the full size.
void SettingsWindow::fitOuterFrame() {
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize client(kWidth - frame.width(), kHeight - frame.height());
  if (isVisible() && size() != client)
    setFixedSize(client);
}

} // namespace ui
