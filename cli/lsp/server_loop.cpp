#include "cli/lsp/server_loop.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "cli/lsp/language_server.h"
#include "cli/lsp/message_framing.h"

namespace brindlewort::cli::lsp {
namespace {

constexpr std::size_t readChunk = 1 << 16;

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Reads what is there without waiting longer than `timeoutMs` (-1: until
// something comes). False at the end of input or on a read error.
bool readAvailable(int fd, MessageReader& reader, int timeoutMs) {
  pollfd watched{fd, POLLIN, 0};
  const int ready = ::poll(&watched, 1, timeoutMs);
  if (ready < 0) return errno == EINTR;
  if (ready == 0) return true;
  char buffer[readChunk];
  const ssize_t got = ::read(fd, buffer, sizeof buffer);
  if (got < 0) return errno == EINTR || errno == EAGAIN;
  if (got == 0) return false;
  reader.feed(std::string_view(buffer, static_cast<std::size_t>(got)));
  return true;
}

}  // namespace

int runLanguageServer(int input, int output) {
  // A client that goes away must not kill the server mid-write with
  // SIGPIPE; the failed write ends the loop instead.
  ::signal(SIGPIPE, SIG_IGN);
  MessageReader reader;
  bool inputOpen = true;
  bool outputOpen = true;
  LanguageServer* serverPointer = nullptr;
  auto handleWaiting = [&] {
    while (std::optional<FramedMessage> message = reader.next()) {
      serverPointer->handle(*message);
      if (serverPointer->finished()) return;
    }
  };
  LanguageServer server(
      [&](const std::string& body) {
        if (outputOpen) outputOpen = writeAll(output, framedMessage(body));
      },
      [&] {
        // Whatever has arrived already, without waiting.
        while (inputOpen) {
          pollfd watched{input, POLLIN, 0};
          if (::poll(&watched, 1, 0) <= 0) break;
          inputOpen = readAvailable(input, reader, 0);
        }
        handleWaiting();
      });
  serverPointer = &server;

  while (!server.finished() && outputOpen) {
    handleWaiting();
    if (server.finished()) break;
    const auto now = Clock::now();
    if (const auto due = server.nextDue(); due && *due <= now) {
      server.publishDue(now);
      continue;
    }
    if (!inputOpen) break;
    int timeoutMs = -1;
    if (const auto due = server.nextDue()) {
      timeoutMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*due - now).count());
    }
    inputOpen = readAvailable(input, reader, timeoutMs);
  }
  return server.finished() ? server.exitStatus() : 1;
}

}  // namespace brindlewort::cli::lsp
