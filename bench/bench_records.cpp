// Announce and record against the size of the roster and the length of the winner list: the
// median time of one press of "暂停" (two roster reads, one list read, the rewrite), on the real
// disk and, to show what the disk adds, on files held in memory. The number on show is the
// roster's last entry, so every lookup reads the whole roster.

#include "draw/files.h"
#include "draw/gbk.h"
#include "draw/text_label.h"
#include "draw/winner_list.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

class FakeLabel final : public draw::TextLabel {
public:
  explicit FakeLabel(std::string text = std::string()) : m_text(std::move(text)) {}
  std::string labelText() const override { return m_text; }
  void setLabelText(const std::string &gbkText) override { m_text = gbkText; }

private:
  std::string m_text;
};

class MemoryFiles final : public draw::FileLayer {
public:
  std::map<std::string, std::string> files;
  std::optional<std::string> readWhole(const std::string &path) override {
    const auto it = files.find(path);
    return it == files.end() ? std::string() : it->second;
  }
  bool missing(const std::string &path) override { return !files.count(path); }
  bool replaceWhole(const std::string &path, const std::string &bytes) override {
    files[path] = bytes;
    return true;
  }
  bool remove(const std::string &path) override { return files.erase(path) > 0; }
};

std::string nameOf(int n) { return draw::gbk("选手") + std::to_string(n); }

std::string rosterOf(int entries) {
  std::string roster = draw::gbk("[其他]\r\n标题=年会抽奖\r\n[名单]\r\n");
  for (int n = 1; n <= entries; ++n)
    roster += std::to_string(n) + "=" + nameOf(n) + "\r\n";
  return roster;
}

std::string listOf(int names) {
  std::string list;
  for (int n = 1; n <= names; ++n)
    list += (n > 1 ? "\r\n" : "") + nameOf(n);
  return list;
}

void writeFile(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Median microseconds of one announce and record; the list is put back to `list` before each.
double medianPress(draw::FileLayer &files, const std::string &runDirectory, int entries, const std::string &list,
                   int runs, bool onDisk, MemoryFiles *memory) {
  const FakeLabel numberOnShow(std::to_string(entries));
  FakeLabel announcement;
  std::optional<std::string> winnerListText;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    if (onDisk)
      writeFile(draw::winnerListPath(runDirectory), list);
    else
      memory->files[draw::winnerListPath(runDirectory)] = list;
    const auto start = std::chrono::steady_clock::now();
    draw::announceAndRecord(files, runDirectory, numberOnShow, announcement, winnerListText);
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

// What the disk alone asks for one durable replacement: a small file and its directory synced.
double medianSyncFloor(const std::string &runDirectory, int runs) {
  std::vector<double> times;
  const std::string path = runDirectory + "/sync-probe";
  for (int run = 0; run < runs; ++run) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, "probe", 5) != 5)
      return -1;
    const auto start = std::chrono::steady_clock::now();
    ::fsync(fd);
    ::close(fd);
    const int dir = ::open(runDirectory.c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(dir);
    ::close(dir);
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  ::unlink(path.c_str());
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

} // namespace

int main() {
  char pattern[] = "/tmp/vostrel-bench-records-XXXXXX";
  if (!::mkdtemp(pattern)) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string runDirectory = pattern;
  const int rosterSizes[] = {10, 1000, 100000};
  const int listLengths[] = {1, 1000, 10000};

  for (const bool onDisk : {true, false}) {
    std::printf("\nannounce and record, %s, median of %s runs (microseconds; growth against the first cell)\n",
                onDisk ? "real file layer on disk (fsync, rename)" : "files in memory", onDisk ? "101" : "301");
    std::printf("%18s", "roster \\ list");
    for (const int names : listLengths)
      std::printf(" %16d names", names);
    std::printf("\n");
    double first = 0;
    for (const int entries : rosterSizes) {
      MemoryFiles memory;
      const std::string roster = rosterOf(entries);
      if (onDisk)
        writeFile(runDirectory + "/配置.ini", roster);
      else
        memory.files[runDirectory + "/配置.ini"] = roster;
      std::printf("%10d entries", entries);
      for (const int names : listLengths) {
        draw::FileLayer &files = onDisk ? draw::systemFiles() : static_cast<draw::FileLayer &>(memory);
        const double us = medianPress(files, runDirectory, entries, listOf(names), onDisk ? 101 : 301, onDisk, &memory);
        if (first == 0)
          first = us;
        std::printf(" %10.1f (x%5.1f)", us, us / first);
      }
      std::printf("\n");
    }
  }
  std::printf("\nthe disk's own floor, fsync of a 5-byte file and of its directory: median %.1f microseconds\n",
              medianSyncFloor(runDirectory, 101));
  std::printf("roster bytes: 10 entries %zu, 1000 entries %zu, 100000 entries %zu; list bytes: 1 name %zu, "
              "1000 names %zu, 10000 names %zu\n",
              rosterOf(10).size(), rosterOf(1000).size(), rosterOf(100000).size(), listOf(1).size(),
              listOf(1000).size(), listOf(10000).size());
  std::filesystem::remove_all(runDirectory);
  return 0;
}
