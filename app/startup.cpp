#include "app/startup.h"

#include "app/fatal_error.h"
#include "app/lifecycle.h"
#include "app/program_state.h"
#include "ui/fonts.h"
#include "ui/gift_window.h"
#include "ui/program_icon.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace app {

namespace {
bool g_exitCleanUpRegistered = false;
std::function<void()> g_afterExitCleanUp;
} // namespace

std::string programDirectory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec)
    return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

void prepareProcess() {
  // Qt stops making bold from a regular face above 64 px; the number and the "×" are 96 px
  // bold, and the Debian Song and Kai fonts have no bold face of their own.
  qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
  // Wayland lets no program place its own top-level windows, and the gift box and the stage
  // live by their places: under Wayland take X11 through XWayland unless the user chose.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
}

void exitCleanUp() {
  if (!g_exitCleanUpRegistered)
    return;
  g_exitCleanUpRegistered = false;
  drawSlots.reset();
  winnerListText.reset();
  if (g_afterExitCleanUp)
    g_afterExitCleanUp();
}

int startUp(int argc, char **argv, const StartupOptions &options) {
  prepareProcess();
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false); // the end rule decides, not Qt
  ui::installFontSubstitutions();
  QApplication::setWindowIcon(ui::programIcon());

  // 1. The run directory becomes the current directory; the invisible owner exists.
  runDirectory = options.runDirectory.empty() ? programDirectory() : options.runDirectory;
  if (::chdir(runDirectory.c_str()) != 0) {
    // A run directory we cannot enter still names where the files are; nothing to report.
  }
  lifecycle().invisibleOwner();
  // 2. The draw slots, both 0.
  drawSlots = std::make_unique<DrawSlots>();
  // 3. The exit clean-up, for the normal end only.
  g_exitCleanUpRegistered = true;
  g_afterExitCleanUp = options.afterExitCleanUp;
  // 4. The start window; its created event runs inside the load.
  if (options.beforeLoad)
    options.beforeLoad();
  WindowSlot &start = options.startWindow ? *options.startWindow : ui::giftWindowSlot;
  if (!lifecycle().load(start))
    fatalError(gbkMessage::kStartWindowFailed);
  // 5. and 6.
  lifecycle().setLoopRunning();
  if (options.beforeLoop)
    options.beforeLoop();
  int exitCode = 0;
  if (lifecycle().anyWindowLoaded())
    exitCode = QApplication::exec();
  // 7. The normal end.
  exitCleanUp();
  return exitCode;
}

} // namespace app
