#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brindlewort {

Result<std::string> readRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                    SymbolicLinks links) {
  int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  if (links == SymbolicLinks::refuse) flags |= O_NOFOLLOW;
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) {
    if (errno == ELOOP && links == SymbolicLinks::refuse) return Error{"is a symbolic link"};
    return Error{std::string("cannot read: ") + std::strerror(errno)};
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Error{std::string("cannot read: ") + std::strerror(errno)};
  if (!S_ISREG(info.st_mode)) return Error{"is not a regular file"};
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) return Error{"is too large"};
  std::string content;
  content.resize(static_cast<std::size_t>(info.st_size));
  std::size_t have = 0;
  // A file that grows while it is read is cut at the size it had.
  while (have < content.size()) {
    const ssize_t got = ::read(fd, content.data() + have, content.size() - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Error{std::string("cannot read: ") + std::strerror(errno)};
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  content.resize(have);
  return content;
}

}  // namespace brindlewort
