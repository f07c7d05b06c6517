#pragma once
// Start-up, the main event loop and the normal end.

#include <functional>
#include <string>

namespace app {

class WindowSlot;

struct StartupOptions {
  // Where the program's files are; empty means the directory of the program file.
  std::string runDirectory;
  // The window start-up loads; null means the gift window.
  WindowSlot *startWindow = nullptr;
  // Runs once the application object exists, before the start window is loaded.
  std::function<void()> beforeLoad;
  // Runs once the start window is loaded, just before the main event loop.
  std::function<void()> beforeLoop;
  // Runs at the end of the exit clean-up.
  std::function<void()> afterExitCleanUp;
};

// The whole life of the program; returns the process exit code.
int startUp(int argc, char **argv, const StartupOptions &options = {});

// Puts the process-level settings in place that must precede the application object.
void prepareProcess();

// Releases the draw slots and the winner list text; runs at most once, at the normal end.
void exitCleanUp();

// The directory of the running program file, without a trailing separator.
std::string programDirectory();

} // namespace app
