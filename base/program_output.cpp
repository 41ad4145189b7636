#include "base/program_output.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace brindlewort {
namespace {

// More of standard error than this says nothing more.
constexpr std::size_t keptErrorBytes = 4096;

struct Pipe {
  int read = -1, write = -1;
  ~Pipe() {
    if (read >= 0) ::close(read);
    if (write >= 0) ::close(write);
  }
};

}  // namespace

std::vector<std::string> environmentWithout(std::string_view prefix) {
  std::vector<std::string> kept;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    if (!text.starts_with(prefix)) kept.emplace_back(text);
  }
  return kept;
}

Result<ProgramRun> runProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
  if (arguments.empty()) return Error{"no program to run"};
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);

  Pipe out, err;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return Error{std::string("cannot make a pipe: ") + std::strerror(errno)};
  out.read = fds[0], out.write = fds[1];
  if (::pipe2(fds, O_CLOEXEC) != 0) return Error{std::string("cannot make a pipe: ") + std::strerror(errno)};
  err.read = fds[0], err.write = fds[1];
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out.write, 1);
  posix_spawn_file_actions_adddup2(&actions, err.write, 2);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out.write);
  ::close(err.write);
  out.write = err.write = -1;
  if (spawned != 0) return Error{arguments.front() + " cannot be run: " + std::strerror(spawned)};

  // Both streams at once, so that a program filling one never waits on the other.
  ProgramRun run;
  char buffer[65536];
  pollfd streams[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    if (::poll(streams, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (pollfd& stream : streams) {
      if (stream.fd < 0 || stream.revents == 0) continue;
      const ssize_t got = ::read(stream.fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        stream.fd = -1;
        --open;
      } else if (&stream == &streams[0]) {
        run.output.append(buffer, static_cast<std::size_t>(got));
      } else if (run.errors.size() < keptErrorBytes) {
        run.errors.append(buffer, std::min(static_cast<std::size_t>(got), keptErrorBytes - run.errors.size()));
      }
    }
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace brindlewort
