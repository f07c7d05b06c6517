// Announce and record, winner list deletion and the real file layer beneath them, checked
// byte for byte on files in a temporary run directory.

#include "draw/files.h"
#include "draw/gbk.h"
#include "draw/winner_list.h"
#include "record_fixtures.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using draw::gbk;
using fixtures::FailingFiles;
using fixtures::FakeLabel;
using fixtures::kList;
using fixtures::kRoster;
using fixtures::RunDirectory;

namespace {

using Bytes = std::optional<std::string>;

const std::string kZhangSan = "\xD5\xC5\xC8\xFD"; // 张三 in GBK

// One press of "暂停" with `number` on show.
void press(draw::FileLayer &files, const RunDirectory &dir, const std::string &number, FakeLabel &announcement,
           std::optional<std::string> &winnerListText) {
  const FakeLabel numberOnShow(number);
  draw::announceAndRecord(files, dir.path(), numberOnShow, announcement, winnerListText);
}

std::string announcementFor(const std::string &utf8Name) { return gbk("恭喜" + utf8Name + "中奖了！"); }

} // namespace

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<std::string>)

class TestWinnerList : public QObject {
  Q_OBJECT

private slots:
  void firstRecordWritesNameAloneAndAnnounces();
  void pressesBuildTheList_data();
  void pressesBuildTheList();
  void recordContinuesExistingList_data();
  void recordContinuesExistingList();
  void rosterEditedBetweenPressesTakesEffect();
  void fileAndLabelOperationsRunInFixedOrder();
  void recordedNameComesFromSecondRosterRead();
  void unreadableListIsLeftUntouched_data();
  void unreadableListIsLeftUntouched();
  void readOnlyRunDirectoryLosesNothing();
  void deletionRemovesList();
  void deletionOfMissingOrUndeletableListChangesNothing();

  void fileLayerReadsWhatIsThere();
  void fileLayerKeepsPermissions();
  void fileLayerNewListTakesUmask();
  void fileLayerFailedWriteKeepsFormerFileAndLeavesNoTemporary();
  void fileLayerWriteIntoMissingDirectoryFails();
  void fileLayerReplacesTargetOfLink();
};

void TestWinnerList::firstRecordWritesNameAloneAndAnnounces() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  FakeLabel announcement;
  std::optional<std::string> winnerListText = std::string("stale");

  press(draw::systemFiles(), dir, "1", announcement, winnerListText);

  QCOMPARE(dir.read(kList), Bytes(kZhangSan));
  QCOMPARE(announcement.labelText(), announcementFor("张三"));
  QCOMPARE(winnerListText, std::optional<std::string>()); // no list before: the text is absent
  QCOMPARE(dir.entries(), (std::set<std::string>{kList, kRoster}));
}

void TestWinnerList::pressesBuildTheList_data() {
  QTest::addColumn<std::string>("rosterFile");
  QTest::addColumn<std::vector<std::string>>("numbers");
  QTest::addColumn<Bytes>("list");
  QTest::addColumn<std::string>("lastAnnouncement");

  const std::string names = fixtures::roster({"1=张三", "2=李四", "0=零号", "3="});
  QTest::newRow("second name after CR LF") << names << std::vector<std::string>{"1", "2"}
                                           << Bytes(kZhangSan + "\r\n" + gbk("李四")) << announcementFor("李四");
  QTest::newRow("same number twice") << names << std::vector<std::string>{"1", "1"}
                                     << Bytes(kZhangSan + "\r\n" + kZhangSan) << announcementFor("张三");
  QTest::newRow("empty name first leaves 0 bytes")
      << names << std::vector<std::string>{"3"} << Bytes("") << announcementFor("");
  QTest::newRow("name after empty first stands alone")
      << names << std::vector<std::string>{"3", "1"} << Bytes(kZhangSan) << announcementFor("张三");
  QTest::newRow("empty name later adds bare CR LF")
      << names << std::vector<std::string>{"1", "9"} << Bytes(kZhangSan + "\r\n") << announcementFor("");
  QTest::newRow("name after empty later leaves empty line")
      << names << std::vector<std::string>{"1", "3", "2"} << Bytes(kZhangSan + "\r\n\r\n" + gbk("李四"))
      << announcementFor("李四");
  QTest::newRow("key 0000 is not 0") << names << std::vector<std::string>{"0000"} << Bytes("") << announcementFor("");
  QTest::newRow("key 0000 with its own entry")
      << fixtures::roster({"0=零号", "0000=初始"}) << std::vector<std::string>{"0000"} << Bytes(gbk("初始"))
      << announcementFor("初始");
  QTest::newRow("key 0") << names << std::vector<std::string>{"0"} << Bytes(gbk("零号")) << announcementFor("零号");
  QTest::newRow("no roster file: two empty names")
      << std::string() << std::vector<std::string>{"1", "2"} << Bytes("") << announcementFor("");
  QTest::newRow("blank number reads nothing")
      << names << std::vector<std::string>{" \t"} << Bytes("") << announcementFor("");

  // 10300 bytes of 张张张...: the first 10239 are used, which ends in half a character.
  std::string longName;
  for (int i = 0; i < 5150; ++i)
    longName += gbk("张");
  const std::string cut = longName.substr(0, 10239);
  QTest::newRow("value cut to 10239 bytes")
      << gbk("[名单]\r\n1=") + longName + "\r\n"
      << std::vector<std::string>{"1", "1"} << Bytes(cut + "\r\n" + cut) << gbk("恭喜") + cut + gbk("中奖了！");
}

void TestWinnerList::pressesBuildTheList() {
  QFETCH(std::string, rosterFile);
  QFETCH(std::vector<std::string>, numbers);
  QFETCH(Bytes, list);
  QFETCH(std::string, lastAnnouncement);

  RunDirectory dir;
  QVERIFY(dir.isValid());
  if (!rosterFile.empty())
    dir.write(kRoster, rosterFile);
  FakeLabel announcement;
  std::optional<std::string> winnerListText;
  Bytes before;
  for (const std::string &number : numbers) {
    before = dir.read(kList);
    press(draw::systemFiles(), dir, number, announcement, winnerListText);
  }

  QCOMPARE(dir.read(kList), list);
  QCOMPARE(announcement.labelText(), lastAnnouncement);
  // The program-wide text is the list as the last press found it.
  const std::optional<std::string> expectedText = before && !before->empty() ? before : std::optional<std::string>();
  QCOMPARE(winnerListText, expectedText);
}

void TestWinnerList::recordContinuesExistingList_data() {
  QTest::addColumn<std::string>("former");
  QTest::addColumn<std::string>("list");
  QTest::addColumn<std::optional<std::string>>("winnerListText");

  QTest::newRow("0-byte list counts as missing") << std::string() << kZhangSan << std::optional<std::string>();
  QTest::newRow("list of an earlier run")
      << gbk("甲\r\n乙") << gbk("甲\r\n乙\r\n") + kZhangSan << std::optional<std::string>(gbk("甲\r\n乙"));
  QTest::newRow("0 byte inside keeps every byte")
      << gbk("甲") + std::string("\0", 1) + gbk("乙") << gbk("甲") + std::string("\0", 1) + gbk("乙\r\n") + kZhangSan
      << std::optional<std::string>(gbk("甲"));
  QTest::newRow("0 byte first keeps every byte")
      << std::string("\0", 1) + gbk("甲") << std::string("\0", 1) + gbk("甲\r\n") + kZhangSan
      << std::optional<std::string>();
}

void TestWinnerList::recordContinuesExistingList() {
  QFETCH(std::string, former);
  QFETCH(std::string, list);
  QFETCH(std::optional<std::string>, winnerListText);

  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  dir.write(kList, former);
  FakeLabel announcement;
  std::optional<std::string> text;

  press(draw::systemFiles(), dir, "1", announcement, text);

  QCOMPARE(dir.read(kList), Bytes(list));
  QCOMPARE(text, winnerListText);
}

void TestWinnerList::rosterEditedBetweenPressesTakesEffect() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  FakeLabel announcement;
  std::optional<std::string> text;

  press(draw::systemFiles(), dir, "1", announcement, text);
  dir.write(kRoster, fixtures::roster({"1=王五"}));
  press(draw::systemFiles(), dir, "1", announcement, text);

  QCOMPARE(dir.read(kList), Bytes(kZhangSan + "\r\n" + gbk("王五")));
  QCOMPARE(announcement.labelText(), announcementFor("王五"));
}

void TestWinnerList::fileAndLabelOperationsRunInFixedOrder() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  std::vector<std::string> log;
  FailingFiles files(&log);
  FakeLabel announcement(std::string(), &log);
  std::optional<std::string> text;

  press(files, dir, "1", announcement, text);

  const std::vector<std::string> expected{"read " + kRoster, "set " + announcementFor("张三"), "read " + kList,
                                          "read " + kRoster, "replace " + kList};
  QCOMPARE(log, expected);
}

// A roster edited in the instant between the two reads: the announcement shows the first
// read's name, the list gets the second's.
void TestWinnerList::recordedNameComesFromSecondRosterRead() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));

  class EditingFiles final : public draw::FileLayer {
  public:
    explicit EditingFiles(const RunDirectory &dir) : m_dir(dir) {}
    std::optional<std::string> readWhole(const std::string &path) override {
      auto bytes = draw::systemFiles().readWhole(path);
      if (path == m_dir.file(kList))
        m_dir.write(kRoster, fixtures::roster({"1=李四"}));
      return bytes;
    }
    bool missing(const std::string &path) override { return draw::systemFiles().missing(path); }
    bool replaceWhole(const std::string &path, const std::string &bytes) override {
      return draw::systemFiles().replaceWhole(path, bytes);
    }
    bool remove(const std::string &path) override { return draw::systemFiles().remove(path); }

  private:
    const RunDirectory &m_dir;
  } files(dir);
  FakeLabel announcement;
  std::optional<std::string> text;

  press(files, dir, "1", announcement, text);

  QCOMPARE(announcement.labelText(), announcementFor("张三"));
  QCOMPARE(dir.read(kList), Bytes(gbk("李四")));
}

void TestWinnerList::unreadableListIsLeftUntouched_data() {
  QTest::addColumn<bool>("directoryInPlace");
  QTest::newRow("cannot be read (no permission, read error)") << false;
  QTest::newRow("directory of that name") << true;
}

void TestWinnerList::unreadableListIsLeftUntouched() {
  QFETCH(bool, directoryInPlace);

  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  const std::string former = gbk("甲\r\n乙");
  if (directoryInPlace) {
    QVERIFY(::mkdir(dir.file(kList).c_str(), 0755) == 0);
    std::ofstream(dir.file(kList) + "/inside") << "kept";
  } else {
    dir.write(kList, former);
  }
  std::vector<std::string> log;
  FailingFiles files(&log);
  files.unreadable.insert(kList);
  FakeLabel announcement;
  std::optional<std::string> text = std::string("stale");

  press(files, dir, "1", announcement, text);

  QCOMPARE(announcement.labelText(), announcementFor("张三"));
  QCOMPARE(std::count(log.begin(), log.end(), "replace " + kList), 0);
  QCOMPARE(text, std::optional<std::string>());
  QCOMPARE(dir.entries(), (std::set<std::string>{kList, kRoster}));
  if (directoryInPlace) {
    QVERIFY(QFileInfo(QString::fromStdString(dir.file(kList))).isDir());
    QCOMPARE(QDir(QString::fromStdString(dir.file(kList))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"inside"});
  } else {
    QCOMPARE(dir.read(kList), Bytes(former));
  }
}

void TestWinnerList::readOnlyRunDirectoryLosesNothing() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  FailingFiles files;
  files.writesFail = true;
  files.removalsFail = true;
  FakeLabel announcement;
  std::optional<std::string> text;

  press(files, dir, "1", announcement, text); // first record: nothing can be created
  QCOMPARE(dir.read(kList), Bytes());
  QCOMPARE(announcement.labelText(), announcementFor("张三"));

  dir.write(kList, gbk("甲"));
  press(files, dir, "1", announcement, text);
  draw::deleteWinnerList(files, dir.path());

  QCOMPARE(dir.read(kList), Bytes(gbk("甲")));
  QCOMPARE(text, std::optional<std::string>(gbk("甲")));
  QCOMPARE(dir.entries(), (std::set<std::string>{kList, kRoster}));
}

void TestWinnerList::deletionRemovesList() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  FakeLabel announcement;
  std::optional<std::string> text;
  press(draw::systemFiles(), dir, "1", announcement, text);
  QVERIFY(dir.read(kList));

  draw::deleteWinnerList(draw::systemFiles(), dir.path());

  QCOMPARE(dir.entries(), std::set<std::string>{kRoster});
  QCOMPARE(text, std::optional<std::string>()); // the text in memory is not touched by deletion
}

void TestWinnerList::deletionOfMissingOrUndeletableListChangesNothing() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, fixtures::roster({"1=张三"}));
  draw::deleteWinnerList(draw::systemFiles(), dir.path());
  QCOMPARE(dir.entries(), std::set<std::string>{kRoster});

  QVERIFY(::mkdir(dir.file(kList).c_str(), 0755) == 0);
  draw::deleteWinnerList(draw::systemFiles(), dir.path());
  QVERIFY(QFileInfo(QString::fromStdString(dir.file(kList))).isDir());
}

void TestWinnerList::fileLayerReadsWhatIsThere() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  draw::FileLayer &files = draw::systemFiles();
  const std::string bytes = std::string("a\0\r\n\xFF", 5);
  dir.write("f", bytes);
  QVERIFY(::mkdir(dir.file("d").c_str(), 0755) == 0);
  QVERIFY(::mkfifo(dir.file("p").c_str(), 0644) == 0);

  QCOMPARE(files.readWhole(dir.file("f")), Bytes(bytes));
  QCOMPARE(files.readWhole(dir.file("missing")), Bytes(""));
  QCOMPARE(files.readWhole(dir.file("f") + "/under-a-file"), Bytes(""));
  QCOMPARE(files.readWhole(dir.file("d")), Bytes());
  QCOMPARE(files.readWhole(dir.file("p")), Bytes()); // a FIFO nobody writes must not hang the draw
  QVERIFY(files.missing(dir.file("missing")));
  QVERIFY(!files.missing(dir.file("d")));
  QVERIFY(!files.missing(dir.file("f")));
}

void TestWinnerList::fileLayerKeepsPermissions() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kList, "old");
  QVERIFY(::chmod(dir.file(kList).c_str(), 0640) == 0);

  QVERIFY(draw::systemFiles().replaceWhole(dir.file(kList), "new"));

  struct stat st;
  QVERIFY(::stat(dir.file(kList).c_str(), &st) == 0);
  QCOMPARE(st.st_mode & 07777, 0640u);
  QCOMPARE(dir.read(kList), Bytes("new"));
  QCOMPARE(dir.entries(), std::set<std::string>{kList});
}

void TestWinnerList::fileLayerNewListTakesUmask() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  const mode_t previous = ::umask(027);
  const bool written = draw::systemFiles().replaceWhole(dir.file(kList), "new");
  ::umask(previous);
  QVERIFY(written);

  struct stat st;
  QVERIFY(::stat(dir.file(kList).c_str(), &st) == 0);
  QCOMPARE(st.st_mode & 07777, 0640u);
}

// A file size limit makes the write itself fail, even for root: the half-written temporary
// file must go and the former list must stay whole.
void TestWinnerList::fileLayerFailedWriteKeepsFormerFileAndLeavesNoTemporary() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kList, gbk("甲\r\n乙"));
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous;
  QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
  rlimit limited = previous;
  limited.rlim_cur = 4096;
  QVERIFY(::setrlimit(RLIMIT_FSIZE, &limited) == 0);

  const bool written = draw::systemFiles().replaceWhole(dir.file(kList), std::string(10000, 'x'));

  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
  QVERIFY(!written);
  QCOMPARE(dir.read(kList), Bytes(gbk("甲\r\n乙")));
  QCOMPARE(dir.entries(), std::set<std::string>{kList});
}

void TestWinnerList::fileLayerWriteIntoMissingDirectoryFails() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  QVERIFY(!draw::systemFiles().replaceWhole(dir.file("gone") + "/" + kList, "x"));
  QVERIFY(!draw::systemFiles().replaceWhole(dir.path(), "x")); // the directory itself
  QCOMPARE(dir.entries(), std::set<std::string>{});
}

void TestWinnerList::fileLayerReplacesTargetOfLink() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write("real.txt", "old");
  QVERIFY(::symlink("real.txt", dir.file(kList).c_str()) == 0);

  QVERIFY(draw::systemFiles().replaceWhole(dir.file(kList), "new"));

  QVERIFY(QFileInfo(QString::fromStdString(dir.file(kList))).isSymLink());
  QCOMPARE(dir.read("real.txt"), Bytes("new"));
  QCOMPARE(dir.entries(), (std::set<std::string>{kList, "real.txt"}));
}

QTEST_APPLESS_MAIN(TestWinnerList)
#include "test_winner_list.moc"
