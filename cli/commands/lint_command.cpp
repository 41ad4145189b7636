#include <QCoreApplication>
#include <QString>
#include <optional>
#include <string>

#include "cli/commands/command_table.h"
#include "cli/core/text_command.h"
#include "helper/client/auto_correction_client.h"

namespace brindlewort::cli {
namespace {

// One text through the helper; a failure when it gives no answer.
Result<std::string> autoCorrected(std::string_view text) {
  // An empty text has nothing to correct, and the helper's empty answer
  // would read as a failure.
  if (text.empty()) return std::string();
  const Result<QString> answer =
      sendForAutoCorrection(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  if (!answer) return Error{"auto-correction failed: " + answer.error() + "; left unchanged"};
  return answer->toStdString();
}

const TextCommand lint{
    .name = "lint",
    .description =
        "Sends each text whole to the auto-correction helper service (trailing\n"
        "white space, a space after \"//\", frequent misspellings in comments)\n"
        "and uses what comes back. Results go to standard output in argument\n"
        "order unless --in-place or --check is given. A file the helper cannot\n"
        "correct is reported and left as it was.",
    .setUp = [](const TextOptions&) -> Result<TextWork> {
      return TextWork{.textTransform = autoCorrected};
    },
    // One request at a time, from the thread that owns the bus connection.
    .concurrent = false,
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
