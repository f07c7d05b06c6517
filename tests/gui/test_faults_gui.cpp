// The draw window's records on hostile ground, pressed as the host presses them: a name that
// is not valid GBK, a run directory that goes away and comes back, a disk that is full.

#include "support/program_fixture.h"
#include "app/lifecycle.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "draw/gbk.h"
#include "ui/display_text.h"
#include "ui/draw_window.h"
#include "ui/fonts.h"
#include "ui/gift_window.h"
#include "ui/settings_window.h"
#include "ui/transparent_label.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>

#include <cerrno>
#include <fstream>
#include <iterator>

using draw::gbk;

namespace {

class FixedClock : public draw::TickClock {
public:
  std::uint32_t milliseconds() const override { return 1000; }
};
FixedClock fixedClock;

using support::flushQueue;

template <class T> T *control(const char *name) {
  QWidget *w = ui::drawWindowSlot.window();
  return w ? w->findChild<T *>(QString::fromUtf8(name)) : nullptr;
}

void writeFile(const QString &path, const std::string &bytes) {
  std::ofstream(path.toStdString(), std::ios::binary | std::ios::trunc) << bytes;
}

std::optional<std::string> readFile(const QString &path) {
  if (!QFileInfo(path).isFile())
    return std::nullopt;
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string announcementFor(const std::string &gbkName) { return gbk("恭喜") + gbkName + gbk("中奖了！"); }

} // namespace

class FaultsGuiTest : public QObject {
  Q_OBJECT

  QTemporaryDir m_parent;
  QString m_run;

  QString list() const { return m_run + QString::fromUtf8("/中奖名单.txt"); }
  QString roster() const { return m_run + QString::fromUtf8("/配置.ini"); }
  void pressStop() { QTest::mouseClick(control<QPushButton>("按钮2"), Qt::LeftButton); }
  std::string announcement() { return control<ui::TransparentLabel>("透明标签2")->labelText(); }

private slots:
  void initTestCase() {
    ui::installFontSubstitutions();
    QVERIFY(m_parent.isValid());
    m_run = m_parent.path() + QStringLiteral("/run");
  }

  void init() {
    QVERIFY(QDir().mkpath(m_run));
    app::lifecycle().resetForTest();
    app::drawSlots = std::make_unique<app::DrawSlots>();
    app::personCount = 0;
    app::randomSource = {};
    app::winnerListText.reset();
    app::runDirectory = m_run.toStdString();
    app::tickClock = &fixedClock;
    app::lifecycle().load(ui::giftWindowSlot);
    app::lifecycle().setLoopRunning();
    app::lifecycle().load(ui::drawWindowSlot);
    QVERIFY(ui::drawWindowSlot.window());
  }

  void cleanup() {
    support::closeAllWindows();
    app::drawSlots.reset();
    ::umount2(m_run.toLocal8Bit().constData(), MNT_DETACH);
    QDir(m_run).removeRecursively();
  }

  // "暂停" before any "开始" looks up "0000"; the name there is not valid GBK.
  void invalidGbkNameIsRecordedAsItStandsAndShownMarked() {
    const std::string name = gbk("张") + "\xFF" + gbk("三") + "\x81\x7F";
    writeFile(roster(), gbk("[名单]\r\n0000=") + name + "\r\n");

    pressStop();

    QCOMPARE(readFile(list()), std::optional<std::string>(name));
    QCOMPARE(announcement(), announcementFor(name));
    const QString bad(QChar(0xFFFD));
    QCOMPARE(ui::displayText(announcement()),
             QString::fromUtf8("恭喜张") + bad + QString::fromUtf8("三") + bad + QChar(0x7F) +
                 QString::fromUtf8("中奖了！"));
  }

  // While the roll goes on the run directory is removed: "暂停" announces an empty name and
  // records nothing, the window keeps working, and once the directory is back the list starts
  // afresh with the next press.
  void runDirectoryRemovedWhileRollingAndBroughtBack() {
    writeFile(roster(), gbk("[名单]\r\n0000=甲\r\n0=乙\r\n"));
    pressStop();
    QCOMPARE(readFile(list()), std::optional<std::string>(gbk("甲")));

    QTest::mouseClick(control<QPushButton>("按钮1"), Qt::LeftButton);
    auto *w = ui::drawWindowSlot.as<ui::DrawWindow>();
    w->onTimerElapsed(); // the first tick shows "0"
    QVERIFY(QDir(m_run).removeRecursively());
    pressStop();
    QCOMPARE(announcement(), announcementFor(std::string()));
    QVERIFY(!QFileInfo::exists(m_run));
    QVERIFY(w->isVisible());

    QVERIFY(QDir().mkpath(m_run));
    writeFile(roster(), gbk("[名单]\r\n0=乙\r\n"));
    pressStop();
    QCOMPARE(announcement(), announcementFor(gbk("乙")));
    QCOMPARE(readFile(list()), std::optional<std::string>(gbk("乙")));
  }

  // The run directory is a full 64 KiB disk: every press fails to record and the list keeps
  // all its names; with room again the next press appends.
  void fullDiskKeepsTheList() {
    if (::mount("tmpfs", m_run.toLocal8Bit().constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") != 0)
      QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs here (%1)").arg(qt_error_string(errno))));
    writeFile(roster(), gbk("[名单]\r\n0000=丙\r\n"));
    std::string former = gbk("甲");
    for (int i = 0; i < 2000; ++i)
      former += "\r\n" + gbk("乙") + std::to_string(i);
    writeFile(list(), former);
    {
      std::ofstream filler((m_run + "/filler").toStdString(), std::ios::binary);
      const std::string block(512, 'x');
      while (filler.write(block.data(), std::streamsize(block.size())) && filler.flush()) {
      }
    }

    pressStop();
    pressStop();
    QCOMPARE(announcement(), announcementFor(gbk("丙")));
    QCOMPARE(readFile(list()), std::optional<std::string>(former));

    QVERIFY(QFile::remove(m_run + "/filler"));
    pressStop();
    QCOMPARE(readFile(list()), std::optional<std::string>(former + "\r\n" + gbk("丙")));
  }
};

int main(int argc, char **argv) {
  app::prepareProcess();
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  FaultsGuiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_faults_gui.moc"
