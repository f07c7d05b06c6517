#!/bin/sh
# Shows a sample window of themed controls on a virtual X server and takes a screenshot of the
# whole screen, for looking at the control theme by eye. Not a test: it checks nothing.
#
#   tests/x11/theme_screenshot.sh [shot.png]
#
# Needs g++, pkg-config, Qt 6 Widgets, xvfb-run and ImageMagick's import.
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "${1:-theme_shot.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/sample.cpp" <<'EOF'
#include "ui/control_theme.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {
QPushButton *stageButton(QWidget *parent, const char *text, int x) {
  auto *button = new QPushButton(QString::fromUtf8(text), parent);
  button->setGeometry(x, 16, 88, 48);
  button->setFont(ui::controlFont("华文行楷", 27, 700));
  return button;
}

QGroupBox *panel(QWidget *parent, const char *caption, const QRect &geometry) {
  auto *box = new QGroupBox(QString::fromUtf8(caption), parent);
  box->setGeometry(geometry);
  box->setFont(ui::controlFont("楷体_GB2312", 16, 400));
  box->setAlignment(Qt::AlignHCenter);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, QColor(236, 236, 236));
  palette.setColor(QPalette::WindowText, QColor(0, 128, 0));
  box->setPalette(palette);
  box->setAutoFillBackground(true);
  return box;
}
} // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  ui::installFontSubstitutions();
  ui::applyControlTheme(2);

  QWidget window;
  window.setWindowTitle(QStringLiteral("theme sample"));
  window.setGeometry(40, 40, 640, 260);
  stageButton(&window, "开始", 16);
  QPushButton *focused = stageButton(&window, "暂停", 120);
  stageButton(&window, "设置", 224)->setEnabled(false);
  stageButton(&window, "默认", 328)->setDefault(true);
  QPushButton *hovered = stageButton(&window, "悬停", 432);
  stageButton(&window, "按下", 536)->setDown(true);

  QGroupBox *left = panel(&window, "人员设定", QRect(16, 88, 168, 152));
  auto *label = new QLabel(QString::fromUtf8("人数："), left);
  label->setGeometry(8, 48, 48, 24);
  (new QLineEdit(left))->setGeometry(56, 48, 88, 24);
  (new QPushButton(QString::fromUtf8("确定"), left))->setGeometry(64, 96, 48, 24);

  QGroupBox *right = panel(&window, "其他待处理...", QRect(184, 88, 176, 152));
  (new QLineEdit(QString::fromUtf8("功能待该进..."), right))->setGeometry(16, 48, 80, 24);
  (new QPushButton(QString::fromUtf8("待设置"), right))->setGeometry(112, 48, 56, 24);
  (new QPushButton(QString::fromUtf8("退出"), right))->setGeometry(112, 80, 56, 24);

  auto *readOnly = new QLineEdit(QString::fromUtf8("只读"), &window);
  readOnly->setGeometry(380, 120, 100, 24);
  readOnly->setReadOnly(true);
  auto *disabled = new QLineEdit(QString::fromUtf8("禁用"), &window);
  disabled->setGeometry(380, 160, 100, 24);
  disabled->setEnabled(false);
  auto *plain = new QPushButton(&window); // no text, no settings: left to the platform style
  plain->setGeometry(500, 120, 88, 24);

  window.show();
  window.activateWindow();
  focused->setFocus();
  QTimer::singleShot(300, [&] { QCursor::setPos(hovered->mapToGlobal(hovered->rect().center())); });
  QTimer::singleShot(1000, [] {
    std::puts("ready");
    std::fflush(stdout);
  });
  return app.exec();
}
EOF

# shellcheck disable=SC2046
g++ -std=c++20 -fPIC -I"$root" $(pkg-config --cflags Qt6Widgets) "$work/sample.cpp" "$root/ui/control_theme.cpp" \
  "$root/ui/olive_style.cpp" "$root/ui/fonts.cpp" $(pkg-config --libs Qt6Widgets) -o "$work/sample"

QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  "$1/sample" >"$1/ready" &
  pid=$!
  while ! grep -q ready "$1/ready"; do sleep 0.2; done
  import -window root "$2"
  kill "$pid"
' sh "$work" "$out"
echo "$out"
