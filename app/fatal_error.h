#pragma once
// The fatal error: the program's only report. A modal box captioned "错误", then exit code -1
// without the exit clean-up.

#include <cstddef>
#include <string>

namespace app {

namespace gbkMessage {
// UTF-8 here; fatalError turns them into GBK like every other text of the program.
inline constexpr const char *kStartWindowFailed = "载入启动窗口失败";
inline constexpr const char *kWindowNotLoaded = "指定窗口或窗口组件不存在或尚未载入";
} // namespace gbkMessage

// The message text of the box, as GBK: "运行时出错!", two CR LF, then "错误信息：", the message
// and one CR LF when there is a message.
std::string fatalErrorText(const std::string &gbkMessage);

[[noreturn]] void fatalError(const std::string &gbkMessage);
[[noreturn]] void fatalError(const char *utf8Message);
[[noreturn]] void outOfMemory(std::size_t bytes);

} // namespace app
