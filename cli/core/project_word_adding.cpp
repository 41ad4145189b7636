#include "cli/core/project_word_adding.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/atomic_write.h"
#include "base/project_root.h"
#include "base/regular_file.h"
#include "proofreading/project_word_list.h"

namespace brindlewort::cli {

namespace fs = std::filesystem;

namespace {

// An exclusive lock on the list's folder, held from reading the list to
// renaming the new one over it. The folder outlives the rename, which a
// lock on the list itself would not, and leaves no file behind.
class FolderLock {
 public:
  explicit FolderLock(const fs::path& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW)) {}
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  Result<void> acquire() {
    if (fd_ < 0) return Error{std::string("cannot open its folder: ") + std::strerror(errno)};
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) return Error{std::string("cannot lock its folder: ") + std::strerror(errno)};
    }
    return {};
  }

 private:
  int fd_;
};

Error refusal(const fs::path& list, const std::string& why) {
  return Error{list.string() + " " + why + "; the word was not added"};
}

}  // namespace

Result<fs::path> addProjectWord(const std::string& word, const fs::path& folder) {
  if (Result<void> usable = checkListWord(word); !usable) {
    return Error{"cannot add \"" + word + "\": " + usable.error()};
  }
  const ProjectRoot project = findProjectRoot(folder);
  const fs::path root = project.folder.empty() ? folder : project.folder;
  FolderLock lock(projectWordListPlace(folder, root).path.parent_path());
  if (Result<void> locked = lock.acquire(); !locked) return Error{"cannot add \"" + word + "\": " + locked.error()};
  // Looked at again under the lock: another run may have made the list.
  const ProjectWordListPlace place = projectWordListPlace(folder, root);
  const fs::path& list = place.path;
  if (!place.problem.empty()) return refusal(list, place.problem);
  std::string text;
  if (place.exists) {
    if (::access(list.c_str(), W_OK) != 0) {
      return refusal(list, std::string("cannot be written by you (") + std::strerror(errno) + ")");
    }
    Result<std::string> read = readRegularFile(list, maxWordListBytes, SymbolicLinks::refuse);
    if (!read) return refusal(list, read.error());
    text = std::move(*read);
  } else {
    // The atomic write replaces a file; a new list starts empty.
    const int fd = ::open(list.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return Error{"cannot create " + list.string() + ": " + std::strerror(errno)};
    ::close(fd);
  }
  const std::string updated = withWordAdded(text, word);
  if (updated != text) {
    if (Result<void> written = writeFileAtomically(list.string(), updated, SymbolicLinks::refuse); !written) {
      return Error{list.string() + ": " + written.error()};
    }
  }
  return list;
}

}  // namespace brindlewort::cli
