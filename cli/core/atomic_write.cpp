#include "cli/core/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace brindlewort::cli {
namespace {

Error reason(std::string_view what, int error) {
  return {std::string(what) + ": " + std::strerror(error)};
}

bool writeAll(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

Result<void> writeFileAtomically(const std::string& path, std::string_view content) {
  // Renaming over a symbolic link would replace the link, so write next to
  // the file it points to.
  std::string target = path;
  if (char* resolved = ::realpath(path.c_str(), nullptr)) {
    target = resolved;
    std::free(resolved);
  }
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) return reason("cannot inspect the file", errno);

  std::size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = folder + "." + name + ".brindle-XXXXXX";

  int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return reason("cannot create a temporary file in its folder", errno);

  auto fail = [&](std::string_view what) {
    int error = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return reason(what, error);
  };
  if (!writeAll(fd, content)) return fail("cannot write");
  // Owner first: changing it may clear set-id bits that fchmod then restores.
  // Only root may give a file away; everyone else keeps their own anyway.
  (void)::fchown(fd, info.st_uid, info.st_gid);
  if (::fchmod(fd, info.st_mode & 07777) != 0) return fail("cannot set the file mode");
  if (::fsync(fd) != 0) return fail("cannot write");
  if (::close(fd) != 0) {
    int error = errno;
    ::unlink(temporary.c_str());
    return reason("cannot write", error);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    int error = errno;
    ::unlink(temporary.c_str());
    return reason("cannot replace the file", error);
  }
  return {};
}

}  // namespace brindlewort::cli
