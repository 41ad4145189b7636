#include "base/temporary_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>

namespace brindlewort {
namespace {

constexpr std::string_view namePattern = ".brindle-XXXXXX";

// The names the signal handler removes. A handler may only touch lock-free
// atomics and fixed storage, so each name sits in a slot of its own; one
// slot per file being written, and files are written by at most a few
// threads at once.
struct Slot {
  std::atomic<int> state{0};  // free, taken, or armed (the handler removes it)
  std::array<char, PATH_MAX + 1> path{};
};
constexpr int slotFree = 0, slotTaken = 1, slotArmed = 2;
std::array<Slot, 256> slots;
static_assert(std::atomic<int>::is_always_lock_free);

// Other threads go on while the handler runs: one could create a file just
// after the handler swept the slots. So a thread creates a file with the
// signals blocked and counted in `creating`, the handler waits for those
// to finish, and no file is created once `dying` is set.
std::atomic<int> creating{0};
std::atomic<bool> dying{false};
static_assert(std::atomic<bool>::is_always_lock_free);

constexpr int fatalSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t fatalSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : fatalSignals) sigaddset(&set, signal);
  return set;
}

extern "C" void removeTemporaryFilesAndDie(int signal) {
  const int savedErrno = errno;
  dying.store(true);
  while (creating.load() != 0) {
    // A thread between mkostemp and arming its slot; it has the signals
    // blocked, so it is not this one, and it finishes at once.
  }
  for (Slot& slot : slots) {
    if (slot.state.load() == slotArmed) ::unlink(slot.path.data());
  }
  // The signal is blocked while its handler runs: raised again, it ends the
  // process with the default action as soon as the handler returns.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  errno = savedErrno;
}

void installSignalHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const int signal : fatalSignals) {
      struct sigaction previous {};
      if (::sigaction(signal, nullptr, &previous) != 0) continue;
      // A signal the caller chose to ignore (nohup) stays ignored.
      if (previous.sa_handler == SIG_IGN) continue;
      struct sigaction action {};
      action.sa_handler = removeTemporaryFilesAndDie;
      // One sweep: a second signal waits for the first to end the process.
      action.sa_mask = fatalSignalSet();
      ::sigaction(signal, &action, nullptr);
    }
  });
}

// A free slot holding `pattern`, armed; -1 when all are in use or the name
// is too long, and the file then goes without the handler's protection.
int armSlot(const std::string& pattern) {
  if (pattern.size() >= PATH_MAX) return -1;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    int expected = slotFree;
    if (!slots[i].state.compare_exchange_strong(expected, slotTaken)) continue;
    std::memcpy(slots[i].path.data(), pattern.c_str(), pattern.size() + 1);
    slots[i].state.store(slotArmed);
    return static_cast<int>(i);
  }
  return -1;
}

Error failure(std::string_view what, int error) { return {std::string(what) + ": " + std::strerror(error)}; }

}  // namespace

Result<TemporaryFile> TemporaryFile::createIn(const std::string& folder) {
  installSignalHandlers();
  std::string pattern = folder + std::string(namePattern);
  const sigset_t fatal = fatalSignalSet();
  sigset_t previousMask;
  ::pthread_sigmask(SIG_BLOCK, &fatal, &previousMask);
  creating.fetch_add(1);
  if (dying.load()) {
    // The process is ending; a file now would outlive it.
    creating.fetch_sub(1);
    for (;;) ::pause();
  }
  // The name is armed before the file exists, so no moment is left in which
  // a signal would miss it; mkostemp fills in the slot's copy.
  const int slot = armSlot(pattern);
  char* name = slot >= 0 ? slots[static_cast<std::size_t>(slot)].path.data() : pattern.data();
  const int fd = ::mkostemp(name, O_CLOEXEC | O_NOFOLLOW);
  creating.fetch_sub(1);
  ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
  if (fd < 0) {
    const int error = errno;
    if (slot >= 0) slots[static_cast<std::size_t>(slot)].state.store(slotFree);
    return failure("cannot create a temporary file in its folder", error);
  }
  return TemporaryFile(fd, name, slot);
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), slot_(other.slot_) {
  other.fd_ = -1;
  other.path_.clear();
  other.slot_ = -1;
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!path_.empty()) ::unlink(path_.c_str());
  forget();
}

void TemporaryFile::forget() {
  if (slot_ >= 0) slots[static_cast<std::size_t>(slot_)].state.store(slotFree);
  slot_ = -1;
}

Result<void> TemporaryFile::close() {
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return failure("cannot write", errno);
  return {};
}

Result<void> TemporaryFile::renameTo(const std::string& target) {
  if (::rename(path_.c_str(), target.c_str()) != 0) return failure("cannot replace the file", errno);
  path_.clear();
  forget();
  return {};
}

}  // namespace brindlewort
