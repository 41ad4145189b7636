#include "cli/core/rewrite_eligibility.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brindlewort::cli {

Result<void> checkRewritable(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Error{std::string("cannot read: ") + std::strerror(errno)};
  if (!S_ISREG(info.st_mode)) {
    return Error{S_ISDIR(info.st_mode) ? "cannot read: Is a directory"
                                       : "not a regular file; --in-place rewrites only regular files"};
  }
  if (::access(path.c_str(), W_OK) != 0) {
    return Error{std::string("cannot be written by you (") + std::strerror(errno) + "); left unchanged"};
  }
  return {};
}

}  // namespace brindlewort::cli
