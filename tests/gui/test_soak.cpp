// A long evening at the draw, in one process: ticks at full speed, the draw window opened and
// closed by every way there is, the settings window opened by "设置" and closed by every way
// there is, and "暂停" pressed along the way. At the end the heap is where it was after the
// first rounds and the winner list holds every name recorded, in order.
//
// The whole length (100000 ticks, 1000 draw windows, 200 settings windows) takes about 20 s
// in the sanitizer build on a busy two-core machine. VOSTREL_SOAK=TICKS,DRAW,SETTINGS sets
// the three counts, to look at one kind of cycle alone or to run longer.

#include "app/lifecycle.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "draw/gbk.h"
#include "ui/draw_window.h"
#include "ui/edit_box.h"
#include "ui/fonts.h"
#include "ui/gift_window.h"
#include "ui/settings_window.h"
#include "ui/transparent_label.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <map>

// Present only in a sanitizer build, where mallinfo2 does not see the heap.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

using draw::gbk;

namespace {

// Bytes handed out by the allocator and not yet freed.
std::size_t heapInUse() {
  if (__sanitizer_get_current_allocated_bytes)
    return __sanitizer_get_current_allocated_bytes();
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

bool sanitizerHeap() { return __sanitizer_get_current_allocated_bytes != nullptr; }

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * std::size_t(::sysconf(_SC_PAGESIZE));
}

// One turn of the loop as the program's own would take it: the window system's events too
// (exposes, activation), which otherwise pile up in their queue, then the queued deletions.
void runQueue() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <class T> T *control(app::WindowSlot &slot, const char *name) {
  QWidget *w = slot.window();
  return w ? w->findChild<T *>(QString::fromUtf8(name)) : nullptr;
}

struct Scale {
  int ticks;
  int drawWindows;
  int settingsWindows;
};

Scale scale() {
  const QList<QByteArray> counts = qgetenv("VOSTREL_SOAK").split(',');
  if (counts.size() == 3)
    return {counts[0].toInt(), counts[1].toInt(), counts[2].toInt()};
  return {100000, 1000, 200};
}

} // namespace

class SoakTest : public QObject {
  Q_OBJECT

  QTemporaryDir m_run;
  std::map<std::string, std::string> m_roster; // number on show -> GBK name
  std::string m_expectedList;
  int m_records = 0;

  std::string listPath() const { return m_run.path().toStdString() + "/中奖名单.txt"; }

  ui::DrawWindow *drawWindow() { return ui::drawWindowSlot.as<ui::DrawWindow>(); }

  ui::DrawWindow *openDrawWindow() {
    app::lifecycle().load(ui::drawWindowSlot);
    runQueue();
    // The first complete paint decodes the stage picture.
    if (drawWindow())
      drawWindow()->repaint();
    return drawWindow();
  }

  // "暂停" as the host presses it, and the name it must add to the list.
  void pressStop() {
    const std::string onShow = control<ui::TransparentLabel>(ui::drawWindowSlot, "透明标签1")->labelText();
    QTest::mouseClick(control<QPushButton>(ui::drawWindowSlot, "按钮2"), Qt::LeftButton);
    const auto it = m_roster.find(onShow);
    const std::string name = it == m_roster.end() ? std::string() : it->second;
    m_expectedList = m_expectedList.empty() ? name : m_expectedList + "\r\n" + name;
    ++m_records;
  }

  void tick(int n) {
    ui::DrawWindow *w = drawWindow();
    for (int i = 0; i < n; ++i)
      w->onTimerElapsed();
  }

  // One draw window: open, roll a little, sometimes record, close by way i % 3.
  bool drawWindowCycle(int i) {
    ui::DrawWindow *w = openDrawWindow();
    if (!w)
      return false;
    if (i % 10 == 0) {
      QTest::mouseClick(control<QPushButton>(ui::drawWindowSlot, "按钮1"), Qt::LeftButton);
      tick(3);
      pressStop();
    }
    switch (i % 3) {
    case 0: // the "×" mark reacts on the press
      QTest::mousePress(control<ui::TransparentLabel>(ui::drawWindowSlot, "透明标签3"), Qt::LeftButton, {},
                        QPoint(36, 28));
      break;
    case 1:
      QTest::keyClick(w, Qt::Key_Escape);
      break;
    default: // queued destruction, as "关闭程序" asks for it
      app::lifecycle().destroy(ui::drawWindowSlot);
      break;
    }
    runQueue();
    return !app::lifecycle().isLoaded(ui::drawWindowSlot);
  }

  // "设置" waits in the settings window's nested loop; inside it the window is closed by way
  // i % 3 ("退出", the close box, Esc), after "确定" now and then. True when "设置" has
  // waited and returned with the window gone.
  bool settingsCycle(int i) {
    auto *set = control<QPushButton>(ui::drawWindowSlot, "按钮3");
    if (!set)
      return false;
    auto inside = std::make_shared<bool>(false);
    QTimer::singleShot(0, this, [i, inside] {
      auto *s = ui::settingsWindowSlot.as<ui::SettingsWindow>();
      *inside = s != nullptr;
      if (!s)
        return;
      if (i % 5 == 0) {
        control<ui::EditBox>(ui::settingsWindowSlot, "编辑框2")->setBoxText("50");
        QTest::mouseClick(control<QPushButton>(ui::settingsWindowSlot, "按钮1"), Qt::LeftButton);
      }
      switch (i % 3) {
      case 0:
        QTest::mouseClick(control<QPushButton>(ui::settingsWindowSlot, "按钮3"), Qt::LeftButton);
        break;
      case 1:
        s->close();
        break;
      default:
        QTest::keyClick(s, Qt::Key_Escape);
        break;
      }
    });
    // Should a way fail to close it, this keeps "设置" from waiting for ever; it goes with the
    // cycle, so no timer is left behind to count as memory.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, [] {
      if (app::lifecycle().isLoaded(ui::settingsWindowSlot))
        app::lifecycle().closeRequest(ui::settingsWindowSlot);
    });
    guard.start(1000);
    QTest::mouseClick(set, Qt::LeftButton);
    return *inside && !app::lifecycle().isLoaded(ui::settingsWindowSlot);
  }

  // Ticks in runs of 1000, each run started by "开始" and ended by "暂停".
  void rollAndRecord(int ticks) {
    for (int done = 0; done < ticks; done += 1000) {
      QTest::mouseClick(control<QPushButton>(ui::drawWindowSlot, "按钮1"), Qt::LeftButton);
      tick(std::min(1000, ticks - done));
      pressStop();
    }
  }

  // Everything once more in the proportions of the whole run, `share` of it.
  bool round(const Scale &s, double share, int &drawCount, int &settingsCount) {
    const int drawWindows = int(s.drawWindows * share);
    const int settingsWindows = int(s.settingsWindows * share);
    for (int i = 0; i < drawWindows; ++i)
      if (!drawWindowCycle(drawCount++))
        return false;
    if (!openDrawWindow())
      return false;
    rollAndRecord(int(s.ticks * share));
    for (int i = 0; i < settingsWindows; ++i)
      if (!settingsCycle(settingsCount++))
        return false;
    app::lifecycle().closeRequest(ui::drawWindowSlot);
    runQueue();
    return true;
  }

private slots:
  void initTestCase() {
    ui::installFontSubstitutions();
    QVERIFY(m_run.isValid());
    std::string roster = gbk("[名单]\r\n0000=开场\r\n");
    m_roster["0000"] = gbk("开场");
    for (int n = 0; n <= 50; ++n) {
      m_roster[std::to_string(n)] = gbk("名字") + std::to_string(n);
      roster += std::to_string(n) + "=" + m_roster[std::to_string(n)] + "\r\n";
    }
    std::ofstream(m_run.path().toStdString() + "/配置.ini", std::ios::binary) << roster;

    app::lifecycle().resetForTest();
    app::drawSlots = std::make_unique<app::DrawSlots>();
    app::personCount = 50;
    app::runDirectory = m_run.path().toStdString();
    app::lifecycle().load(ui::giftWindowSlot);
    app::lifecycle().setLoopRunning();
  }

  void cleanupTestCase() {
    for (app::WindowSlot *s : {&ui::settingsWindowSlot, &ui::drawWindowSlot, &ui::giftWindowSlot})
      if (app::lifecycle().isLoaded(*s))
        app::lifecycle().closeRequest(*s);
    runQueue();
    app::drawSlots.reset();
  }

  void longEveningKeepsMemoryAndEveryRecord() {
    const Scale s = scale();
    QElapsedTimer clock;
    clock.start();
    int drawCount = 0;
    int settingsCount = 0;

    // The first rounds fill the caches a long run keeps (fonts, glyphs, styles), and the second
    // one lets the allocator settle how it serves picture-sized blocks after the first of them
    // was returned. Both measures are taken with only the gift window open.
    QVERIFY(round(s, 0.05, drawCount, settingsCount));
    QVERIFY(round(s, 0.05, drawCount, settingsCount));
    const std::size_t heapAfterWarmUp = heapInUse();
    const std::size_t rssAfterWarmUp = residentBytes();

    QVERIFY(round(s, 0.90, drawCount, settingsCount));
    const std::size_t heapAtEnd = heapInUse();
    const std::size_t rssAtEnd = residentBytes();

    qInfo("soak: %d ticks, %d draw windows, %d settings windows, %d records in %lld ms", s.ticks, drawCount,
          settingsCount, m_records, clock.elapsed());
    qInfo("soak: heap %zu KiB after warm-up, %zu KiB at the end; resident %zu KiB, %zu KiB", heapAfterWarmUp >> 10,
          heapAtEnd >> 10, rssAfterWarmUp >> 10, rssAtEnd >> 10);

    QCOMPARE(drawCount, s.drawWindows);
    QCOMPARE(settingsCount, s.settingsWindows);
    std::ifstream in(listPath(), std::ios::binary);
    const std::string onDisk{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    QCOMPARE(onDisk.size(), m_expectedList.size());
    QVERIFY(onDisk == m_expectedList);
    // A few percent of the heap, and a little room for the allocator's own bookkeeping.
    QVERIFY2(heapAtEnd <= heapAfterWarmUp + heapAfterWarmUp / 33 + (256u << 10),
             qPrintable(QStringLiteral("heap grew from %1 to %2 bytes").arg(heapAfterWarmUp).arg(heapAtEnd)));
    // The sanitizer keeps freed blocks resident for a while, so only a plain build's resident
    // size says something.
    if (!sanitizerHeap())
      QVERIFY2(rssAtEnd <= rssAfterWarmUp + rssAfterWarmUp / 20 + (1u << 20),
               qPrintable(QStringLiteral("resident size grew from %1 to %2 bytes").arg(rssAfterWarmUp).arg(rssAtEnd)));
  }
};

int main(int argc, char **argv) {
  app::prepareProcess();
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  SoakTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_soak.moc"
