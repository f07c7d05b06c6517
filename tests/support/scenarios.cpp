#include "support/scenarios.h"

#include "app/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <map>
#include <string>

namespace support {

namespace {
struct Scenario {
  ScenarioFn run;
  ConfigureFn configure;
};
std::map<std::string, Scenario> &scenarios() {
  static std::map<std::string, Scenario> all;
  return all;
}
} // namespace

ScenarioRegistration::ScenarioRegistration(const char *name, ScenarioFn fn, ConfigureFn configure) {
  scenarios()[name] = {std::move(fn), std::move(configure)};
}

void step(std::function<void()> fn, int delayMs) { QTimer::singleShot(delayMs, qApp, std::move(fn)); }

void report(const QString &fact) {
  std::fputs(fact.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void answerMessageBoxes() {
  auto *poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [] {
    for (QWidget *w : QApplication::topLevelWidgets())
      if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
        report(QStringLiteral("message-box: ") + box->windowTitle() + QStringLiteral(" | ") +
               box->text().replace(QLatin1String("\r\n"), QLatin1String("\\r\\n")));
        box->accept();
      }
  });
  poll->start(20);
}

int runScenario(int argc, char **argv) {
  if (argc < 3) {
    std::fputs("usage: vostrel_harness SCENARIO RUN_DIRECTORY\n", stderr);
    return 2;
  }
  auto it = scenarios().find(argv[1]);
  if (it == scenarios().end()) {
    std::fprintf(stderr, "no scenario %s\n", argv[1]);
    return 2;
  }
  app::StartupOptions options;
  options.runDirectory = argv[2];
  options.afterExitCleanUp = [] { report(QStringLiteral("exit-clean-up")); };
  options.beforeLoop = it->second.run;
  if (it->second.configure)
    it->second.configure(options);
  int qtArgc = 1;
  return app::startUp(qtArgc, argv, options);
}

HarnessResult runHarness(const QString &scenario, const QString &runDirectory, const QString &screen, int timeoutMs) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") +
                                                    QStringLiteral(VOSTREL_SCREEN_DIR) + QStringLiteral("/screen_") +
                                                    screen + QStringLiteral(".json"));
  child.setProcessEnvironment(env);
  child.start(QStringLiteral(VOSTREL_HARNESS), {scenario, runDirectory});
  HarnessResult result;
  if (!child.waitForFinished(timeoutMs)) {
    child.kill();
    child.waitForFinished();
    result.crashed = true;
  }
  result.crashed = result.crashed || child.exitStatus() == QProcess::CrashExit;
  result.exitCode = child.exitCode();
  const QString out = QString::fromUtf8(child.readAllStandardOutput());
  result.facts = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  result.errors = QString::fromUtf8(child.readAllStandardError());
  return result;
}

} // namespace support
