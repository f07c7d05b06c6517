// The records on hostile ground: rosters that are huge, random or in another encoding, names
// that are not valid GBK, a run directory that goes away, a disk that is full. Nothing may
// crash, and a record that was on disk before a failure is still there after it.

#include "draw/gbk.h"
#include "draw/profile.h"
#include "draw/roster.h"
#include "draw/winner_list.h"
#include "record_fixtures.h"

#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <random>

using draw::gbk;
using fixtures::FakeLabel;
using fixtures::kList;
using fixtures::kRoster;
using fixtures::RunDirectory;
using Bytes = std::optional<std::string>;

namespace {

std::string announcementFor(const std::string &gbkName) { return gbk("恭喜") + gbkName + gbk("中奖了！"); }

// One "暂停": announce and record for the number on show, on the real file layer.
void press(const std::string &runDirectory, const std::string &number, FakeLabel &announcement,
           std::optional<std::string> &listText) {
  const FakeLabel onShow(number);
  draw::announceAndRecord(draw::systemFiles(), runDirectory, onShow, announcement, listText);
}

// Kilobytes from /proc/self/status ("VmRSS", "VmHWM").
long statusKb(const char *field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0)
      return std::stol(line.substr(prefix.size()));
  return -1;
}

// Starts the peak (VmHWM) afresh from the present resident size.
bool resetPeak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return bool(out);
}

// A roster of at least `bytes` bytes: `head`, then filler entries, then `tail`; written in
// pieces so the test itself never holds it whole.
void writeLargeRoster(const std::string &path, const std::string &head, const std::string &filler,
                      std::size_t bytes, const std::string &tail) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::string block;
  while (block.size() < (1u << 20))
    block += filler;
  out << head;
  for (std::size_t written = head.size(); written < bytes; written += block.size())
    out << block;
  out << tail;
}

} // namespace

class TestFaults : public QObject {
  Q_OBJECT

private slots:
  void hugeRosterIsLookedUpInBoundedMemory_data();
  void hugeRosterIsLookedUpInBoundedMemory();
  void randomRosterAnnouncesAndRecordsTheSameBytes();
  void byteOrderMarkRosterIsRecordedInGbk_data();
  void byteOrderMarkRosterIsRecordedInGbk();
  void invalidGbkNameIsRecordedByteForByte_data();
  void invalidGbkNameIsRecordedByteForByte();
  void vanishedRunDirectoryFailsSilentlyAndRecovers();
  void fullDiskLosesNoRecord();
};

void TestFaults::hugeRosterIsLookedUpInBoundedMemory_data() {
  QTest::addColumn<QByteArray>("head");
  QTest::addColumn<QByteArray>("filler");
  QTest::addColumn<QByteArray>("tail");
  QTest::addColumn<QByteArray>("key");
  QTest::addColumn<QByteArray>("name");
  // The file is read whole once; the peak may hold it and a copy for a byte-order mark, no more.
  QTest::addColumn<double>("filesOfMemory");
  const QByteArray section = QByteArray::fromStdString(gbk("[名单]\r\n"));
  const QByteArray filler = QByteArray::fromStdString(gbk("2=一个很长的名字用来填满名单文件的一行\r\n"));
  const QByteArray last = QByteArray::fromStdString(gbk("1=张三"));
  QTest::newRow("GBK, entry at the end") << section << filler << last << QByteArray("1")
                                         << QByteArray::fromStdString(gbk("张三")) << 1.5;
  QTest::newRow("GBK, no such entry") << section << filler << QByteArray() << QByteArray("7") << QByteArray() << 1.5;
  QTest::newRow("one line without end") << QByteArray("x") << QByteArray(1 << 12, '=') << QByteArray() << QByteArray("1")
                                        << QByteArray() << 1.5;
  QTest::newRow("UTF-8 mark, entry at the end")
      << "\xEF\xBB\xBF" + QByteArray("[名单]\r\n") << QByteArray("2=一个很长的名字用来填满名单文件的一行\r\n")
      << QByteArray("1=张三") << QByteArray("1") << QByteArray::fromStdString(gbk("张三")) << 2.5;
}

// A roster above 50 MB still answers, and reading it takes memory in proportion to the file.
void TestFaults::hugeRosterIsLookedUpInBoundedMemory() {
  QFETCH(QByteArray, head);
  QFETCH(QByteArray, filler);
  QFETCH(QByteArray, tail);
  QFETCH(QByteArray, key);
  QFETCH(QByteArray, name);
  QFETCH(double, filesOfMemory);
  RunDirectory dir;
  QVERIFY(dir.isValid());
  const std::size_t size = std::size_t(51) << 20;
  writeLargeRoster(dir.file(kRoster), head.toStdString(), filler.toStdString(), size, tail.toStdString());

  if (!resetPeak())
    QSKIP("this kernel cannot reset the peak resident size");
  const long before = statusKb("VmRSS");
  const std::string found = draw::rosterLookup(draw::systemFiles(), dir.path(), FakeLabel(key.toStdString()));
  const long grown = statusKb("VmHWM") - before;

  QCOMPARE(found, name.toStdString());
  QVERIFY2(grown <= long(filesOfMemory * double(size >> 10)),
           qPrintable(QStringLiteral("peak grew by %1 KiB for a roster of %2 KiB").arg(grown).arg(size >> 10)));
}

// Whatever the roster holds, the name announced is the name recorded, and a second record
// keeps the first one.
void TestFaults::randomRosterAnnouncesAndRecordsTheSameBytes() {
  std::mt19937 generator(7);
  const std::string marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  for (int round = 0; round < 40; ++round) {
    RunDirectory dir;
    QVERIFY(dir.isValid());
    std::string content = marks[round % 4];
    const std::size_t size = generator() % 200000;
    for (std::size_t i = 0; i < size; ++i)
      content += char(generator());
    // Half the rosters end in an entry, so some rounds find a name after the noise.
    if (round % 2)
      content += gbk("\r\n[名单]\r\n1=张三\r\n");
    dir.write(kRoster, content);
    FakeLabel announcement;
    std::optional<std::string> listText;

    press(dir.path(), "1", announcement, listText);
    const Bytes first = dir.read(kList);
    QVERIFY(first);
    QVERIFY(first->size() <= draw::kProfileValueLimit);
    QCOMPARE(announcement.labelText(), announcementFor(*first));
    press(dir.path(), "1", announcement, listText);
    // A list holding only an empty name is 0 bytes long, and a 0-byte list starts afresh.
    QCOMPARE(dir.read(kList), Bytes(first->empty() ? std::string() : *first + "\r\n" + *first));
  }
}

void TestFaults::byteOrderMarkRosterIsRecordedInGbk_data() {
  QTest::addColumn<QByteArray>("roster");
  QTest::addColumn<QByteArray>("name");
  QTest::newRow("CR LF") << QByteArray("\xEF\xBB\xBF[名单]\r\n1=张三\r\n2=李四\r\n")
                         << QByteArray::fromStdString(gbk("张三"));
  QTest::newRow("LF, blanks, quotes") << QByteArray("\xEF\xBB\xBF[ 名单 ]\n 1 = \"王 五\" \n")
                                      << QByteArray::fromStdString(gbk("王 五"));
  QTest::newRow("character GBK lacks") << QByteArray("\xEF\xBB\xBF[名单]\r\n1=赵\xF0\x9F\x98\x80六\r\n")
                                       << QByteArray::fromStdString(gbk("赵") + "?" + gbk("六"));
  QTest::newRow("mark only, no entry") << QByteArray("\xEF\xBB\xBF") << QByteArray();
}

// A roster saved as UTF-8 with a byte-order mark gives the same GBK name as one saved in GBK:
// the list file holds GBK only.
void TestFaults::byteOrderMarkRosterIsRecordedInGbk() {
  QFETCH(QByteArray, roster);
  QFETCH(QByteArray, name);
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, roster.toStdString());
  dir.write(kList, gbk("甲"));
  FakeLabel announcement;
  std::optional<std::string> listText;

  press(dir.path(), "1", announcement, listText);

  QCOMPARE(announcement.labelText(), announcementFor(name.toStdString()));
  QCOMPARE(dir.read(kList), Bytes(gbk("甲") + "\r\n" + name.toStdString()));
}

void TestFaults::invalidGbkNameIsRecordedByteForByte_data() {
  QTest::addColumn<QByteArray>("name");
  QTest::addColumn<QString>("shown");
  const QString bad = QString(QChar(0xFFFD));
  QTest::newRow("lead byte cut off at the line end") << QByteArray::fromStdString(gbk("张") + "\xD5")
                                                     << QString::fromUtf8("张") + bad;
  QTest::newRow("byte FF between names") << QByteArray::fromStdString(gbk("张") + "\xFF" + gbk("三"))
                                         << QString::fromUtf8("张") + bad + QString::fromUtf8("三");
  QTest::newRow("trail byte out of range") << QByteArray("\x81\x7F" "A") << bad + QChar(0x7F) + "A";
  QTest::newRow("lead byte before a blank") << QByteArray("\xB0 \xB0") << bad + " " + bad;
}

// A name that is not valid GBK goes into the list exactly as the roster holds it, and what
// the display makes of it marks each bad byte with U+FFFD and keeps the rest.
void TestFaults::invalidGbkNameIsRecordedByteForByte() {
  QFETCH(QByteArray, name);
  QFETCH(QString, shown);
  RunDirectory dir;
  QVERIFY(dir.isValid());
  dir.write(kRoster, gbk("[名单]\r\n1=") + name.toStdString() + "\r\n");
  FakeLabel announcement;
  std::optional<std::string> listText;

  press(dir.path(), "1", announcement, listText);

  QCOMPARE(dir.read(kList), Bytes(name.toStdString()));
  QCOMPARE(announcement.labelText(), announcementFor(name.toStdString()));
  QCOMPARE(QString::fromStdString(draw::gbkToUtf8(name.toStdString())), shown);
}

// The run directory is removed while the program runs: records fail without a sound and leave
// nothing behind; once it is back, the next record works as the first of a run.
void TestFaults::vanishedRunDirectoryFailsSilentlyAndRecovers() {
  QTemporaryDir parent;
  QVERIFY(parent.isValid());
  const QString runDir = parent.path() + QStringLiteral("/run");
  QVERIFY(QDir().mkpath(runDir));
  const std::string run = runDir.toStdString();
  const auto writeFile = [&](const std::string &name, const std::string &bytes) {
    std::ofstream(run + "/" + name, std::ios::binary) << bytes;
  };
  writeFile(kRoster, fixtures::roster({"1=张三"}));
  FakeLabel announcement;
  std::optional<std::string> listText;
  press(run, "1", announcement, listText);

  QVERIFY(QDir(runDir).removeRecursively());
  press(run, "1", announcement, listText);
  QCOMPARE(announcement.labelText(), announcementFor(std::string()));
  QVERIFY(!listText);
  QVERIFY(!QFileInfo::exists(runDir));
  QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
  draw::deleteWinnerList(draw::systemFiles(), run);

  QVERIFY(QDir().mkpath(runDir));
  writeFile(kRoster, fixtures::roster({"1=李四"}));
  press(run, "1", announcement, listText);
  QCOMPARE(announcement.labelText(), announcementFor(gbk("李四")));
  std::ifstream in(run + "/" + kList, std::ios::binary);
  QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), gbk("李四"));
}

// On a disk with no room left a record fails, and the list keeps every name it had; with room
// again the next record appends to it. A real 64 KiB tmpfs is the disk.
void TestFaults::fullDiskLosesNoRecord() {
  RunDirectory dir;
  QVERIFY(dir.isValid());
  if (::mount("tmpfs", dir.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") != 0)
    QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs here (%1)").arg(qt_error_string(errno))));
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{dir.path()};

  dir.write(kRoster, fixtures::roster({"1=张三"}));
  std::string former = gbk("甲");
  for (int i = 0; i < 2000; ++i)
    former += "\r\n" + gbk("名字") + std::to_string(i);
  dir.write(kList, former);
  QCOMPARE(dir.read(kList), Bytes(former));
  // The rest of the disk goes to a filler, to the last block.
  {
    std::ofstream filler(dir.file("filler"), std::ios::binary);
    const std::string block(512, 'x');
    while (filler.write(block.data(), std::streamsize(block.size())) && filler.flush()) {
    }
  }
  FakeLabel announcement;
  std::optional<std::string> listText;

  for (int i = 0; i < 3; ++i)
    press(dir.path(), "1", announcement, listText);
  QCOMPARE(announcement.labelText(), announcementFor(gbk("张三")));
  QCOMPARE(dir.read(kList), Bytes(former));
  QCOMPARE(listText, Bytes(former));
  QCOMPARE(dir.entries(), (std::set<std::string>{kList, kRoster, "filler"}));

  QVERIFY(QFile::remove(QString::fromStdString(dir.file("filler"))));
  press(dir.path(), "1", announcement, listText);
  QCOMPARE(dir.read(kList), Bytes(former + "\r\n" + gbk("张三")));
}

QTEST_APPLESS_MAIN(TestFaults)
#include "test_faults.moc"
