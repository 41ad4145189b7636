#pragma once

// A temporary file next to the file it will replace, removed again however
// brindle ends: by the destructor on every return path, and by a handler for
// SIGINT, SIGTERM and SIGHUP, which removes every temporary file still open
// and then ends the process with the signal's own status.

#include <string>

#include "base/result.h"

namespace brindlewort {

class TemporaryFile {
 public:
  // Creates an empty file in `folder` (ending in '/', or empty for the
  // current folder) under a short hidden name, so that it fits wherever
  // the file it replaces fits.
  static Result<TemporaryFile> createIn(const std::string& folder);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  ~TemporaryFile();

  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

  // Closes the file, reporting a failed final write.
  Result<void> close();
  // Renames the closed file to `target`; from then on it is not removed.
  Result<void> renameTo(const std::string& target);

 private:
  TemporaryFile(int fd, std::string path, int slot) : fd_(fd), path_(std::move(path)), slot_(slot) {}
  void forget();

  int fd_ = -1;
  std::string path_;
  int slot_ = -1;  // where the signal handler finds the name; -1: nowhere
};

}  // namespace brindlewort
