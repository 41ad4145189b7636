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
#include "cli/core/text_transform.h"
#include "helper/client/auto_correction_client.h"
#include "reflow/comment_line_corrections.h"
#include "reflow/source_language.h"

namespace brindlewort::cli {
namespace {

using Clock = std::chrono::steady_clock;

// How long the whole run may wait for the helper: --timeout, else the
// client's own bound. BRINDLE_LINT_TIMEOUT stands in for the option where
// tests cannot pass one (a hook or an editor that builds the command).
std::chrono::milliseconds runBound(const TextOptions& options) {
  if (options.timeout) return *options.timeout;
  if (const char* value = std::getenv("BRINDLE_LINT_TIMEOUT")) {
    if (std::optional<std::chrono::milliseconds> bound = parseTimeout(value)) return *bound;
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

  // The helper's corrections on the file's comment lines; its other lines
  // stay as they are, whatever the helper made of them (a "//" line inside
  // a raw string is code). With `byLineRule`, as in the workbench, every
  // line whose first characters are "//" is a comment line.
  Result<std::string> commentsCorrected(std::string_view text, std::string_view path, bool byLineRule) {
    const LanguageLookup language = byLineRule ? LanguageLookup{} : commentLanguageOf(path, text);
    if (language.kind == LanguageLookup::Kind::noLineComments) return std::string(text);
    Result<std::string> corrected = autoCorrected(text);
    if (!corrected) return corrected;
    std::optional<std::string> merged = correctionsOnCommentLines(text, *corrected, language.language);
    if (!merged) return Error{"the helper's answer has a different number of lines; left unchanged"};
    return std::move(*merged);
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
        "misspellings in comments, whatever their marker) and takes what comes\n"
        "back on the lines that are comments in the file's language. Results go to\n"
        "standard output in argument order unless --in-place or --check is\n"
        "given. A file the helper cannot correct is reported and left as it\n"
        "was. The whole run waits at most 30 s for the helper (--timeout sets\n"
        "another bound); files left when that has passed are reported as not\n"
        "processed.",
    .setUp = [](const TextOptions& options) -> Result<TextWork> {
      auto helper = std::make_shared<BoundedHelper>(runBound(options));
      const bool byLineRule = options.scope == TextScope::wholeText;
      return TextWork{.how = SourceFileWork{[helper, byLineRule](std::string_view text, std::string_view path) {
                        return helper->commentsCorrected(text, path, byLineRule);
                      }},
                      .changeNote = [](std::string_view) { return std::string("the helper would correct this"); }};
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
