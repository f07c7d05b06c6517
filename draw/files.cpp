#include "draw/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace draw {

namespace {

// A file larger than this is not held in memory: it reads as "cannot be read whole".
constexpr off_t kLargestReadable = off_t(1) << 30;

class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0)
      ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;

  int get() const { return m_fd; }
  // Closes now and says whether the close (which may report a late write error) succeeded.
  bool close() {
    const int fd = m_fd;
    m_fd = -1;
    return fd < 0 || ::close(fd) == 0;
  }

private:
  int m_fd;
};

bool writeAll(int fd, const std::string &bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string directoryOf(const std::string &path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string &path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whole-file writes through a temporary file beside the target, renamed over it: a crash or a
// power cut at any moment leaves either the former file or the new one on disk.
class SystemFiles final : public FileLayer {
public:
  std::optional<std::string> readWhole(const std::string &path) override {
    // Non-blocking, so a FIFO or device of that name cannot hang the draw; only a regular
    // file is read.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
      if (errno == ENOENT || errno == ENOTDIR)
        return std::string();
      return std::nullopt;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kLargestReadable)
      return std::nullopt;
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    for (;;) {
      if (done == bytes.size()) {
        // The file may have grown since fstat; read on until its end. The check for more goes
        // through a small buffer, so a file read whole is not copied into a larger string.
        char more[4096];
        const ssize_t n = ::read(fd.get(), more, sizeof more);
        if (n < 0 && errno == EINTR)
          continue;
        if (n < 0)
          return std::nullopt;
        if (n == 0)
          break;
        if (bytes.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(kLargestReadable))
          return std::nullopt;
        bytes.append(more, static_cast<std::size_t>(n));
        done = bytes.size();
        continue;
      }
      const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR)
        continue;
      if (n < 0)
        return std::nullopt;
      if (n == 0)
        break;
      done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
  }

  bool missing(const std::string &path) override {
    struct stat st;
    return ::lstat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
  }

  bool replaceWhole(const std::string &path, const std::string &bytes) override {
    // A symbolic link stays a link: the file it points to is the one replaced.
    std::string target = path;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
      char *resolved = ::realpath(path.c_str(), nullptr);
      if (!resolved)
        return false;
      target = resolved;
      std::free(resolved);
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    // A list the host made read-only stays as it is, as it would under a plain overwrite.
    if (exists && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0))
      return false;
    if (!exists && errno != ENOENT)
      return false;

    const std::string directory = directoryOf(target);
    // One temporary name per process: no other live process can be using it, so a leftover of
    // a killed program that had the same process id is simply replaced.
    const std::string temporary =
        directory + "/." + baseNameOf(target) + "." + std::to_string(static_cast<long>(::getpid())) + ".tmp";
    ::unlink(temporary.c_str());
    // 0666 lets the umask decide the permissions of a new list, as for any file the host makes.
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (fd.get() < 0)
      return false;
    bool ok = true;
    if (exists) {
      ok = ::fchmod(fd.get(), st.st_mode & 07777) == 0;
      // The owner can be kept only with privilege; without it the file is ours anyway.
      [[maybe_unused]] const int owned = ::fchown(fd.get(), st.st_uid, st.st_gid);
    }
    ok = ok && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
      ::unlink(temporary.c_str());
      return false;
    }
    // The rename itself reaches the disk only with the directory.
    FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
      ::fsync(dir.get());
    return true;
  }

  bool remove(const std::string &path) override { return ::unlink(path.c_str()) == 0; }
};

} // namespace

FileLayer &systemFiles() {
  static SystemFiles files;
  return files;
}

} // namespace draw
