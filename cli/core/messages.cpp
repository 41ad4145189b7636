#include "cli/core/messages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/core/command.h"

namespace brindlewort::cli {
namespace {

// The first write error on standard output (0 when none): write errors are
// reported once, at the end, after everything else has been tried.
int outputError = 0;

void noteOutputError() {
  if (outputError == 0) outputError = errno != 0 ? errno : EIO;
}

}  // namespace

bool printOutput(std::string_view text) {
  if (outputError != 0) return false;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) noteOutputError();
  return outputError == 0;
}

void printError(std::string_view message) {
  std::string line = "brindle: ";
  line += message;
  if (!line.ends_with('\n')) line += '\n';
  std::fflush(stdout);  // keep stdout and stderr in order on a shared terminal
  std::fwrite(line.data(), 1, line.size(), stderr);
}

int usageError(std::string_view message, std::string_view command) {
  std::string text(message);
  text += command.empty() ? "\nTry 'brindle --help'."
                          : "\nTry 'brindle " + std::string(command) + " --help'.";
  printError(text);
  return exitFailure;
}

Result<void> finishOutput() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) noteOutputError();
  if (outputError == 0) return {};
  return Error{std::strerror(outputError)};
}

int finishOutputStatus() {
  if (Result<void> finished = finishOutput(); !finished) {
    printError("cannot write to standard output: " + finished.error());
    return exitFailure;
  }
  return exitSuccess;
}

}  // namespace brindlewort::cli
