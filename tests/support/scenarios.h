#pragma once
// Scenarios for the harness: the real start-up with a scripted host. A scenario runs just
// before the main loop and schedules its steps on the event queue; it reports what it sees
// on stdout, one fact per line, and the harness exits with the program's own exit code.
//
//   VOSTREL_SCENARIO(closeProgramDeletesList) { ...; support::step([] { ... }); }
//
// Tests run it with support::runHarness("closeProgramDeletesList", runDir).

#include <QString>
#include <QStringList>

#include <functional>

namespace app {
struct StartupOptions;
}

namespace support {

using ScenarioFn = std::function<void()>;
using ConfigureFn = std::function<void(app::StartupOptions &)>;
struct ScenarioRegistration {
  // `configure` may change the start-up options before start-up runs (another start window).
  ScenarioRegistration(const char *name, ScenarioFn fn, ConfigureFn configure = {});
};

#define VOSTREL_SCENARIO(name)                                                                                         \
  static void scenario_##name();                                                                                       \
  static const support::ScenarioRegistration registration_##name(#name, scenario_##name);                            \
  static void scenario_##name()

// Queues fn to run after everything already queued (a fresh turn of the event loop).
void step(std::function<void()> fn, int delayMs = 0);
// Prints one fact line to stdout and flushes it.
void report(const QString &fact);
// Answers the next modal message box (the fatal error's) as the host would, with OK.
void answerMessageBoxes();

// The harness entry: argv[1] scenario, argv[2] run directory.
int runScenario(int argc, char **argv);

struct HarnessResult {
  int exitCode = -1000;  // the process exit code (255 for -1)
  bool crashed = false;  // ended by a signal
  QStringList facts;     // stdout lines
  QString errors;        // stderr
};
// Runs the harness as a child process on the offscreen platform with a screen of the given
// size ("1920x1080", "1024x768", "800x600", "1280x1024").
HarnessResult runHarness(const QString &scenario, const QString &runDirectory,
                         const QString &screen = QStringLiteral("1920x1080"), int timeoutMs = 60000);

} // namespace support
