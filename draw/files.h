#pragma once
// The one file layer: every read, write and deletion of the program's files goes through it,
// so failures stay silent in one place and tests can put a failing disk underneath.

#include <optional>
#include <string>

namespace draw {

class FileLayer {
public:
  virtual ~FileLayer() = default;
  // Every byte of the file. std::nullopt when the file exists but cannot be read whole (no
  // permission, read error, a directory); an empty string when it is missing or 0 bytes.
  virtual std::optional<std::string> readWhole(const std::string &path) = 0;
  // True when the file does not exist at all.
  virtual bool missing(const std::string &path) = 0;
  // Replaces the file with exactly these bytes so that a crash at any moment leaves either
  // the former content or the new one. False when it could not.
  virtual bool replaceWhole(const std::string &path, const std::string &bytes) = 0;
  // Deletes the file; false when it is missing or cannot be deleted.
  virtual bool remove(const std::string &path) = 0;
};

// The real file system.
FileLayer &systemFiles();

} // namespace draw
