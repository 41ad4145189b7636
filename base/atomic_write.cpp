#include "base/atomic_write.h"

#include <acl/libacl.h>
#include <attr/error_context.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/temporary_file.h"

namespace brindlewort {
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

// Keeps the first complaint of libattr and libacl, which report through a
// printf-style callback, so that the user learns which attribute failed.
struct CopyComplaints {
  error_context context{};
  std::string first;
};

extern "C" void noteComplaint(error_context* context, const char* format, ...) {
  auto* complaints = reinterpret_cast<CopyComplaints*>(context);
  if (!complaints->first.empty()) return;
  const int error = errno;
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  complaints->first = text;
  if (error != 0) complaints->first += std::string(": ") + std::strerror(error);
}

CopyComplaints complaintCollector() {
  CopyComplaints complaints;
  complaints.context.error = noteComplaint;
  return complaints;
}

Error copyFailure(std::string_view what, const CopyComplaints& complaints) {
  return {"cannot keep the file's " + std::string(what) +
          (complaints.first.empty() ? std::string() : " (" + complaints.first + ")") +
          "; left unchanged"};
}

// Gives the new file everything but the content of the old one.
// Names in the libraries' messages are the file's own, not the temporary's.
Result<void> copyMetadata(const std::string& target, int original, const struct stat& info, int fd) {
  // Owner first: changing it clears set-id bits that the mode then restores.
  // Only root may give a file away, so another user's file is refused
  // rather than quietly becoming the caller's.
  if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    return Error{std::string("cannot keep the file's owner and group (") + std::strerror(errno) + "); left unchanged"};
  }
  // The access control list with the mode bits it goes with; the group
  // bits of a file with a list are its mask, never the group's own rights.
  CopyComplaints aclComplaints = complaintCollector();
  if (::perm_copy_fd(target.c_str(), original, target.c_str(), fd, &aclComplaints.context) != 0) {
    return copyFailure("access control list", aclComplaints);
  }
  // Every other extended attribute the system's policy says travels with a
  // copy (the lists above are left to perm_copy_fd).
  CopyComplaints attributeComplaints = complaintCollector();
  if (::attr_copy_fd(target.c_str(), original, target.c_str(), fd, nullptr,
                     &attributeComplaints.context) != 0) {
    return copyFailure("extended attributes", attributeComplaints);
  }
  if (::fchmod(fd, info.st_mode & 07777) != 0) {
    return Error{std::string("cannot keep the file's mode (") + std::strerror(errno) + "); left unchanged"};
  }
  return {};
}

}  // namespace

Result<void> writeFileAtomically(const std::string& path, std::string_view content, SymbolicLinks links) {
  std::string target = path;
  int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  if (links == SymbolicLinks::refuse) {
    flags |= O_NOFOLLOW;
  } else if (char* resolved = ::realpath(path.c_str(), nullptr)) {
    // Renaming over a symbolic link would replace the link, so write next
    // to the file it points to.
    target = resolved;
    std::free(resolved);
  }
  const int original = ::open(target.c_str(), flags);
  if (original < 0 && errno == ELOOP && links == SymbolicLinks::refuse) {
    return Error{"is a symbolic link; left unchanged"};
  }
  if (original < 0) return reason("cannot inspect the file", errno);
  struct OriginalCloser {
    int fd;
    ~OriginalCloser() { ::close(fd); }
  } closer{original};
  struct stat info {};
  if (::fstat(original, &info) != 0) return reason("cannot inspect the file", errno);
  if (!S_ISREG(info.st_mode)) return Error{"not a regular file; left unchanged"};

  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  Result<TemporaryFile> temporary = TemporaryFile::createIn(folder);
  if (!temporary) return Error{temporary.error()};

  if (!writeAll(temporary->fd(), content)) return reason("cannot write", errno);
  if (Result<void> kept = copyMetadata(target, original, info, temporary->fd()); !kept) {
    return kept;
  }
  if (::fsync(temporary->fd()) != 0) return reason("cannot write", errno);
  if (Result<void> closed = temporary->close(); !closed) return closed;
  return temporary->renameTo(target);
}

Result<void> writeOwnFileAtomically(const std::string& path, std::string_view content, unsigned mode) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  Result<TemporaryFile> temporary = TemporaryFile::createIn(folder);
  if (!temporary) return Error{temporary.error()};
  if (!writeAll(temporary->fd(), content)) return reason("cannot write", errno);
  if (::fchmod(temporary->fd(), mode) != 0) return reason("cannot set the mode", errno);
  if (Result<void> closed = temporary->close(); !closed) return closed;
  // Renaming replaces whatever has the name, a link included, and never
  // writes through it.
  return temporary->renameTo(path);
}

}  // namespace brindlewort
