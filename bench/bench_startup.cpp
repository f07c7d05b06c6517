// Start-up and the draw window, each against a minimal frameless Qt window of the same size
// started the same way: child processes of this program, many runs, medians.
//   start-up      from starting the child to the end of the gift window's first paint
//   draw window   from "打开程序" to the end of the draw window's first paint (the stage
//                 picture is decoded in it)
// Then, in one more child with the draw window open: the peak resident size (VmHWM), and how
// often the event loop wakes up, and for what timers, in 5 s while nothing rolls.
//
//   bench_startup [RUNS]      (default 15 runs of each child)
// Run it on the display the program would use, e.g. under xvfb-run -a -s "-screen 0 1920x1080x24".

#include "app/lifecycle.h"
#include "app/startup.h"
#include "ui/draw_window.h"
#include "ui/gift_window.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

long long nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

long statusKb(const char *field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0)
      return std::stol(line.substr(prefix.size()));
  return -1;
}

// Runs `after` once the first paint of `widget` has been carried out whole.
class FirstPaint : public QObject {
public:
  FirstPaint(QWidget *widget, std::function<void()> after) : m_after(std::move(after)) {
    widget->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::Paint || !m_after)
      return false;
    watched->removeEventFilter(this);
    watched->event(event);
    const auto after = std::move(m_after);
    m_after = nullptr;
    after();
    return true;
  }

private:
  std::function<void()> m_after;
};

// Wake-ups of the event loop and the timer events delivered, while the loop is idle.
struct IdleCount {
  int wakeUps = 0;
  int blocks = 0;
  std::map<QString, int> timers; // class of the receiver -> timer events
};

class TimerCounter : public QObject {
public:
  explicit TimerCounter(IdleCount &count) : m_count(count) {}

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Timer)
      ++m_count.timers[QString::fromLatin1(watched->metaObject()->className())];
    return false;
  }

private:
  IdleCount &m_count;
};

void report(const char *key, long long value) {
  std::printf("%s %lld\n", key, value);
  std::fflush(stdout);
}

// The child that starts the program itself; mode "program" or "idle".
int programChild(int argc, char **argv, const std::string &mode, const std::string &runDirectory) {
  app::StartupOptions options;
  options.runDirectory = runDirectory;
  static IdleCount idle;
  options.beforeLoop = [mode] {
    QWidget *gift = ui::giftWindowSlot.window();
    new FirstPaint(gift, [mode] {
      report("shown", nowNs());
      const long long opened = nowNs();
      ui::GiftWindow::openDrawWindow();
      QWidget *draw = ui::drawWindowSlot.window();
      new FirstPaint(draw, [mode, opened] {
        report("draw", nowNs() - opened);
        if (mode == "program") {
          report("hwm_kb", statusKb("VmHWM"));
          std::_Exit(0);
        }
        // Settle, then count for 5 s; the one timer that ends the count is left out.
        QTimer::singleShot(1000, [] {
          auto *dispatcher = QAbstractEventDispatcher::instance();
          QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [] { ++idle.wakeUps; });
          QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] { ++idle.blocks; });
          qApp->installEventFilter(new TimerCounter(idle));
          QTimer::singleShot(5000, [] {
            report("hwm_kb", statusKb("VmHWM"));
            // The timer that ends the count woke the loop once and delivered one event.
            report("wakeups", idle.wakeUps - 1);
            report("blocks", idle.blocks - 1);
            int timers = 0;
            for (const auto &[receiver, n] : idle.timers)
              timers += n;
            report("timer_events", timers - 1);
            for (const auto &[receiver, n] : idle.timers)
              std::printf("timer %s %d\n", qPrintable(receiver), n);
            std::fflush(stdout);
            std::_Exit(0);
          });
        });
      });
    });
  };
  return app::startUp(argc, argv, options);
}

// The minimal window: a bare frameless window of the gift window's size, then one of the draw
// window's size, each timed to the end of its first paint.
int minimalChild(int argc, char **argv) {
  QApplication application(argc, argv);
  QWidget small(nullptr, Qt::FramelessWindowHint);
  small.resize(50, 50);
  QWidget large(nullptr, Qt::FramelessWindowHint);
  large.resize(1024, 768);
  long long opened = 0;
  FirstPaint first(&small, [&] {
    report("shown", nowNs());
    opened = nowNs();
    new FirstPaint(&large, [&] {
      report("draw", nowNs() - opened);
      report("hwm_kb", statusKb("VmHWM"));
      std::_Exit(0);
    });
    large.show();
  });
  small.show();
  return application.exec();
}

struct Run {
  double startupMs = -1;
  double drawMs = -1;
  long hwmKb = -1;
  std::map<std::string, long long> values;
  QStringList timers; // "timer <receiver class> <events>" lines of the idle child
};

Run runChild(const QString &self, const QString &mode, const QString &runDirectory) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  const long long started = nowNs();
  child.start(self, {QStringLiteral("--child"), mode, runDirectory});
  child.waitForFinished(60000);
  Run run;
  for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() == 3 && parts[0] == "timer")
      run.timers << QString::fromUtf8(parts[1] + ": " + parts[2]);
    if (parts.size() == 2)
      run.values[parts[0].toStdString()] = parts[1].toLongLong();
  }
  if (run.values.count("shown"))
    run.startupMs = double(run.values["shown"] - started) / 1e6;
  if (run.values.count("draw"))
    run.drawMs = double(run.values["draw"]) / 1e6;
  if (run.values.count("hwm_kb"))
    run.hwmKb = long(run.values["hwm_kb"]);
  return run;
}

double median(std::vector<double> v) {
  if (v.empty())
    return -1;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char **argv) {
  if (argc >= 4 && std::string(argv[1]) == "--child") {
    const std::string mode = argv[2];
    const std::string runDirectory = argv[3];
    int childArgc = 1;
    if (mode == "minimal")
      return minimalChild(childArgc, argv);
    return programChild(childArgc, argv, mode, runDirectory);
  }

  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  QCoreApplication application(argc, argv);
  const QString self = QCoreApplication::applicationFilePath();
  QTemporaryDir runDirectory;

  std::vector<double> programStartup, programDraw, minimalStartup, minimalDraw;
  long programHwm = 0, minimalHwm = 0;
  // One warm-up of each, so the first figures do not carry the disk cache filling.
  runChild(self, QStringLiteral("minimal"), runDirectory.path());
  runChild(self, QStringLiteral("program"), runDirectory.path());
  for (int i = 0; i < runs; ++i) {
    // Interleaved, so a load that comes and goes on the machine falls on both alike.
    const Run minimal = runChild(self, QStringLiteral("minimal"), runDirectory.path());
    const Run program = runChild(self, QStringLiteral("program"), runDirectory.path());
    if (minimal.startupMs < 0 || program.startupMs < 0 || program.drawMs < 0) {
      std::fprintf(stderr, "a child did not report; is there a display?\n");
      return 1;
    }
    minimalStartup.push_back(minimal.startupMs);
    minimalDraw.push_back(minimal.drawMs);
    programStartup.push_back(program.startupMs);
    programDraw.push_back(program.drawMs);
    programHwm = std::max(programHwm, program.hwmKb);
    minimalHwm = std::max(minimalHwm, minimal.hwmKb);
  }

  const double ps = median(programStartup), ms = median(minimalStartup);
  const double pd = median(programDraw), md = median(minimalDraw);
  std::printf("runs: %d of each child, medians\n", runs);
  std::printf("start-up to the gift window shown: %.1f ms; minimal window: %.1f ms; ratio %.2f (goal <= 1.30)\n", ps,
              ms, ps / ms);
  std::printf("draw window to its first complete paint: %.1f ms (goal <= 30); minimal 1024x768 window: %.1f ms\n", pd,
              md);
  std::printf("peak RSS with the draw window open: %.1f MB (goal <= 60); minimal windows: %.1f MB\n",
              double(programHwm) / 1024, double(minimalHwm) / 1024);

  const Run idle = runChild(self, QStringLiteral("idle"), runDirectory.path());
  const auto value = [&](const char *key) { return idle.values.count(key) ? idle.values.at(key) : -1; };
  std::printf("idle 5 s with the draw window open and not rolling: %lld event loop wake-ups (%lld times about to "
              "block), %lld timer events (the bench's own end timer left out), peak RSS %.1f MB\n",
              value("wakeups"), value("blocks"), value("timer_events"), double(idle.hwmKb) / 1024);
  std::printf("timer events by receiver, the end timer included: %s\n", qPrintable(idle.timers.join(", ")));
  return 0;
}
