// The program as a whole process: where the gift box lands, how the program ends and what
// it leaves behind, and the fatal error.
#include "support/scenarios.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ShellTest : public QObject {
  Q_OBJECT

private:
  static void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

private slots:
  void giftBoxSitsHundredPixelsLeftOfTheRightEdge_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("geometry");
    QTest::newRow("1920 wide") << "1920x1080" << "1820,50 50x50";
    QTest::newRow("1024 wide") << "1024x768" << "924,50 50x50";
    QTest::newRow("800 wide") << "800x600" << "700,50 50x50";
  }
  void giftBoxSitsHundredPixelsLeftOfTheRightEdge() {
    QFETCH(QString, screen);
    QFETCH(QString, geometry);
    QTemporaryDir dir;
    const support::HarnessResult r = support::runHarness("giftGeometry", dir.path(), screen);
    QVERIFY2(!r.crashed, qPrintable(r.errors));
    QVERIFY(r.facts.contains("gift " + geometry));
    QVERIFY(r.facts.contains("person-count 0 slots 0 0"));
    QCOMPARE(r.exitCode, 0);
  }

  void escOnTheGiftBoxAloneEndsTheProgramAndKeepsTheList() {
    QTemporaryDir dir;
    const QString list = dir.filePath(QString::fromUtf8("中奖名单.txt"));
    writeFile(list, "abc");
    const support::HarnessResult r = support::runHarness("escOnGiftAlone", dir.path());
    QVERIFY2(!r.crashed, qPrintable(r.errors));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.facts, QStringList{"exit-clean-up"});
    QVERIFY(QFile::exists(list));
  }

  void escOnTheGiftBoxLeavesTheProgramRunningWhileTheDrawWindowIsOpen() {
    QTemporaryDir dir;
    const support::HarnessResult r = support::runHarness("escOnGiftWithDrawOpen", dir.path());
    QVERIFY2(!r.crashed, qPrintable(r.errors));
    QCOMPARE(r.facts, (QStringList{"gift-loaded 0 draw-loaded 1 quit 0", "exit-clean-up"}));
    QCOMPARE(r.exitCode, 0);
  }

  void closeProgramDeletesTheListThenDestroysDrawWindowThenGiftWindow() {
    QTemporaryDir dir;
    const QString list = dir.filePath(QString::fromUtf8("中奖名单.txt"));
    writeFile(list, "\xD5\xC5\xC8\xFD");
    const support::HarnessResult r = support::runHarness("closeProgramFromMenu", dir.path());
    QVERIFY2(!r.crashed, qPrintable(r.errors));
    // The chosen item acts only after the handler that showed the menu has returned.
    QCOMPARE(r.facts,
             (QStringList{"menu-closed draw-loaded 1", "destroyed draw", "destroyed gift", "exit-clean-up"}));
    QCOMPARE(r.exitCode, 0);
    QVERIFY(!QFile::exists(list));
  }

  void closeProgramWithoutAListEndsNormally() {
    QTemporaryDir dir;
    const support::HarnessResult r = support::runHarness("giftGeometry", dir.path());
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.facts.contains("exit-clean-up"));
  }

  void fatalErrorShowsItsBoxAndExitsWithMinusOneWithoutTheCleanUp_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("message");
    QTest::newRow("destroying a window that is not loaded")
        << "fatalOnDestroyingUnloadedWindow" << QString::fromUtf8("指定窗口或窗口组件不存在或尚未载入");
    QTest::newRow("start window cannot be made") << "startWindowFails" << QString::fromUtf8("载入启动窗口失败");
    QTest::newRow("memory exhausted") << "memoryExhausted" << QString::fromUtf8("分配 4611686018427387904 字节内存失败!");
  }
  void fatalErrorShowsItsBoxAndExitsWithMinusOneWithoutTheCleanUp() {
    QFETCH(QString, scenario);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const support::HarnessResult r = support::runHarness(scenario, dir.path());
    QVERIFY2(!r.crashed, qPrintable(r.errors));
    QCOMPARE(r.exitCode, 255);
    const QString box = QString::fromUtf8("message-box: 错误 | 运行时出错!\\r\\n\\r\\n错误信息：") + message + "\\r\\n";
    QCOMPARE(r.facts, QStringList{box});
  }
};

QTEST_GUILESS_MAIN(ShellTest)
#include "test_shell.moc"
