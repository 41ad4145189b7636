#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "cli/commands/command_table.h"
#include "cli/core/fix_hint.h"
#include "cli/core/text_command.h"
#include "helper/client/auto_correction_client.h"

namespace brindlewort::cli {
namespace {

using Clock = std::chrono::steady_clock;

// How long the whole run may wait for the helper: BRINDLE_LINT_TIMEOUT
// seconds when set to a positive number, else the client's own bound.
std::chrono::milliseconds runBound() {
  if (const char* value = std::getenv("BRINDLE_LINT_TIMEOUT")) {
    char* end = nullptr;
    const double seconds = std::strtod(value, &end);
    if (end != value && *end == '\0' && seconds > 0 && seconds < 86400) {
      return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    }
  }
  return autoCorrectionReplyBound;
}

// One bound for the whole run, so that a hanging helper costs it once
// rather than once per file; after the first time-out the helper is not
// asked again.
class BoundedHelper {
 public:
  explicit BoundedHelper(std::chrono::milliseconds bound) : bound_(bound), deadline_(Clock::now() + bound) {}

  Result<std::string> autoCorrected(std::string_view text) {
    // An empty text has nothing to correct, and the helper's empty answer
    // would read as a failure.
    if (text.empty()) return std::string();
    std::lock_guard lock(mutex_);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
    if (timedOut_ || left.count() <= 0) {
      timedOut_ = true;
      return Error{"not processed: the helper gave no answer within the run's " + boundText() +
                   " bound"};
    }
    const Result<QString> answer =
        sendForAutoCorrection(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), left);
    if (!answer) {
      timedOut_ = Clock::now() >= deadline_;
      return Error{"auto-correction failed: " + answer.error() + "; left unchanged"};
    }
    return answer->toStdString();
  }

 private:
  std::string boundText() const {
    const auto milliseconds = bound_.count();
    return milliseconds % 1000 == 0 ? std::to_string(milliseconds / 1000) + " s"
                                    : std::to_string(milliseconds) + " ms";
  }

  std::chrono::milliseconds bound_;
  Clock::time_point deadline_;
  std::mutex mutex_;
  bool timedOut_ = false;
};

const TextCommand lint{
    .name = "lint",
    .description =
        "Sends each text whole to the auto-correction helper service (trailing\n"
        "white space and a space after \"//\" on comment lines, frequent\n"
        "misspellings in comments) and uses what comes back. Results go to\n"
        "standard output in argument order unless --in-place or --check is\n"
        "given. A file the helper cannot correct is reported and left as it\n"
        "was. The whole run waits at most 30 s for the helper\n"
        "(BRINDLE_LINT_TIMEOUT seconds when set); files left when that has\n"
        "passed are reported as not processed.",
    .setUp = [](const TextOptions&) -> Result<TextWork> {
      auto helper = std::make_shared<BoundedHelper>(runBound());
      return TextWork{WholeTextWork{[helper](std::string_view text) { return helper->autoCorrected(text); }}};
    },
    // One request at a time, from the thread that owns the bus connection.
    .concurrent = false,
    .checkFailureHint = [](const TextOptions& options) { return inPlaceFixHint("lint", options); },
};

int runLint(std::span<const std::string> args) {
  // The bus connection needs an application object.
  static int argc = 1;
  static char name[] = "brindle";
  static char* argv[] = {name, nullptr};
  std::optional<QCoreApplication> application;
  if (!QCoreApplication::instance()) application.emplace(argc, argv);
  return runTextCommand(lint, args);
}

}  // namespace

Command lintCommand() {
  return {"lint", "auto-correct comments through the helper service", runLint};
}

}  // namespace brindlewort::cli
