#include "app/fatal_error.h"

#include "draw/gbk.h"
#include "ui/display_text.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace app {

std::string fatalErrorText(const std::string &gbkMessage) {
  std::string text = draw::gbk("运行时出错!") + "\r\n\r\n";
  if (!gbkMessage.empty())
    text += draw::gbk("错误信息：") + gbkMessage + "\r\n";
  return text;
}

void fatalError(const std::string &gbkMessage) {
  const std::string text = fatalErrorText(gbkMessage);
  if (qApp) {
    QMessageBox box(QMessageBox::Critical, ui::displayText(draw::gbk("错误")), ui::displayText(text),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("fatalErrorBox"));
    box.exec();
  }
  // The registered exit clean-up is dropped: nothing of the program runs after this.
  std::fflush(nullptr);
  std::_Exit(-1);
}

void fatalError(const char *utf8Message) { fatalError(draw::gbk(utf8Message)); }

void outOfMemory(std::size_t bytes) {
  // Keep the reserve free of the text we are about to build.
  char number[32];
  std::snprintf(number, sizeof number, "%zu", bytes);
  fatalError(draw::gbk("分配 ") + number + draw::gbk(" 字节内存失败!"));
}

} // namespace app
