#include "cli/core/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/large_buffer.h"

namespace brindlewort::cli {
namespace {

Error failure(int error) { return {std::strerror(error)}; }

// Reads until end of file, growing the buffer; `expected` is a size hint.
Result<std::string> readAll(int fd, std::size_t expected) {
  std::string data;
  // One byte more than expected, so a file of the expected size is done after
  // one read plus the read that returns 0.
  const std::size_t size = expected + 1 > 65536 ? expected + 1 : 65536;
  reserveLargeBuffer(data, size);
  data.resize(size);
  std::size_t used = 0;
  for (;;) {
    if (used == data.size()) data.resize(data.size() * 2);
    ssize_t got = ::read(fd, data.data() + used, data.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return failure(errno);
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  data.resize(used);
  return data;
}

}  // namespace

Result<std::string> readWholeFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return failure(errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    int error = errno;
    ::close(fd);
    return failure(error);
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    return failure(EISDIR);
  }
  Result<std::string> result = readAll(fd, S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0);
  ::close(fd);
  return result;
}

Result<std::string> readStandardInput() {
  // A file redirected to standard input can be read in one go like any other.
  struct stat info {};
  std::size_t expected = 0;
  if (::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode)) {
    off_t position = ::lseek(STDIN_FILENO, 0, SEEK_CUR);
    if (position >= 0 && position < info.st_size) {
      expected = static_cast<std::size_t>(info.st_size - position);
    }
  }
  return readAll(STDIN_FILENO, expected);
}

}  // namespace brindlewort::cli
