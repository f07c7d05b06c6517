// The winner list survives a program killed at any moment. Run with "--child <run directory>"
// this program records names without end through the real file layer, one byte on standard
// output after each record; run plainly it is the test, which starts such children and kills
// them with SIGKILL at varied moments, then checks that the list on disk is always a complete
// prefix of the names recorded: never torn, never empty once written.

#include "draw/files.h"
#include "draw/gbk.h"
#include "draw/winner_list.h"
#include "record_fixtures.h"

#include <QtTest>

#include <chrono>
#include <csignal>
#include <cstring>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// The name of the n-th winner: lengths vary so that a torn write could not pass for a prefix.
std::string nameOf(long n) { return draw::gbk("选手") + std::string(std::size_t(n % 5), 'x') + std::to_string(n); }

// The list as it stands after the first `count` names.
std::string listOf(long count) {
  std::string list;
  for (long n = 1; n <= count; ++n)
    list += (n > 1 ? "\r\n" : "") + nameOf(n);
  return list;
}

// The real file layer, with a roster that always names the number on show.
class GeneratedRoster final : public draw::FileLayer {
public:
  std::optional<std::string> readWhole(const std::string &path) override {
    if (path.size() >= fixtures::kRoster.size() &&
        path.compare(path.size() - fixtures::kRoster.size(), std::string::npos, fixtures::kRoster) == 0)
      return draw::gbk("[名单]\r\n") + std::to_string(m_number) + "=" + nameOf(m_number);
    return draw::systemFiles().readWhole(path);
  }
  bool missing(const std::string &path) override { return draw::systemFiles().missing(path); }
  bool replaceWhole(const std::string &path, const std::string &bytes) override {
    return draw::systemFiles().replaceWhole(path, bytes);
  }
  bool remove(const std::string &path) override { return draw::systemFiles().remove(path); }

  long m_number = 0;
};

int recordForever(const std::string &runDirectory) {
  GeneratedRoster files;
  // Go on from the list as found, so that every child extends the one before it.
  const std::optional<std::string> found = draw::systemFiles().readWhole(draw::winnerListPath(runDirectory));
  long count = 0;
  if (found && !found->empty())
    for (std::size_t at = 0; at != std::string::npos; at = found->find("\r\n", at + 1))
      ++count;
  fixtures::FakeLabel announcement;
  std::optional<std::string> winnerListText;
  for (long n = count + 1;; ++n) {
    files.m_number = n;
    const fixtures::FakeLabel numberOnShow(std::to_string(n));
    draw::announceAndRecord(files, runDirectory, numberOnShow, announcement, winnerListText);
    if (::write(STDOUT_FILENO, "+", 1) != 1)
      return 1;
  }
}

std::string ownExecutable() {
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, std::size_t(n)) : std::string();
}

} // namespace

class KillRecorder : public QObject {
  Q_OBJECT

private slots:
  void killedRecorderLeavesCompletePrefix();
};

void KillRecorder::killedRecorderLeavesCompletePrefix() {
  fixtures::RunDirectory dir;
  QVERIFY(dir.isValid());
  const std::string self = ownExecutable();
  QVERIFY(!self.empty());
  std::mt19937 random(7);
  long known = 0; // names certainly on disk: the list may never fall below this
  long killedMidRecord = 0;

  for (int round = 0; round < 200; ++round) {
    if (round % 50 == 0) {
      // Now and then a fresh list, so that the very first write is also cut short.
      draw::deleteWinnerList(draw::systemFiles(), dir.path());
      known = 0;
    }
    int out[2];
    QVERIFY(::pipe(out) == 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string runDirectory = dir.path();
    char *argv[] = {const_cast<char *>(self.c_str()), const_cast<char *>("--child"),
                    const_cast<char *>(runDirectory.c_str()), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    QCOMPARE(spawned, 0);

    // Let the child finish 0 to 3 records, then kill it somewhere within the next ones.
    const long waitFor = long(random() % 4);
    long reported = 0;
    char progress;
    while (reported < waitFor && ::read(out[0], &progress, 1) == 1)
      ++reported;
    const auto killAt = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 3000);
    while (std::chrono::steady_clock::now() < killAt) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the child ended before it was killed");
    char rest[4096];
    for (ssize_t n; (n = ::read(out[0], rest, sizeof rest)) > 0;)
      reported += n;
    ::close(out[0]);

    const std::optional<std::string> list = dir.read(fixtures::kList);
    if (!list) {
      QCOMPARE(known + reported, 0L);
      continue;
    }
    long count = 0;
    for (std::size_t at = 0; !list->empty() && at != std::string::npos; at = list->find("\r\n", at + 1))
      ++count;
    QVERIFY2(
        count >= known + reported,
        qPrintable(QString("round %1: %2 names on disk, %3 recorded").arg(round).arg(count).arg(known + reported)));
    QVERIFY2(count <= known + reported + 1, qPrintable(QString("round %1: too many names").arg(round)));
    QCOMPARE(*list, listOf(count));
    killedMidRecord += count > known + reported;
    known = count;
  }
  qInfo("%ld of 200 kills fell after a record had reached the disk but before it was reported", killedMidRecord);
}

int main(int argc, char **argv) {
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
    return recordForever(argv[2]);
  KillRecorder test;
  return QTest::qExec(&test, argc, argv);
}

#include "kill_recorder.moc"
