#include <QCoreApplication>
#include <QString>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/atomic_write.h"
#include "cli/command.h"
#include "cli/command_table.h"
#include "cli/file_processing.h"
#include "cli/file_reading.h"
#include "cli/messages.h"
#include "cli/text_options.h"
#include "cli/text_validation.h"
#include "proofreading/auto_correction_client.h"

namespace brindlewort::cli {
namespace {

constexpr std::string_view lintDescription =
    "Sends each text whole to the auto-correction helper service (trailing\n"
    "white space, a space after \"//\", frequent misspellings in comments)\n"
    "and uses what comes back. Results go to standard output in argument\n"
    "order unless --in-place or --check is given. A file the helper cannot\n"
    "correct is reported and left as it was.";

// One input through the helper; the same outcomes as the other text
// commands, plus a failure when the helper gives no answer.
FileOutcome lintInput(const std::string& input, OutputMode mode) {
  const bool fromStandardInput = input == "-";
  const std::string name = fromStandardInput ? std::string(standardInputName) : input;
  FileOutcome outcome;
  auto fail = [&](const std::string& why) {
    outcome.status = FileOutcome::Status::failed;
    outcome.error = name + ": " + why;
    return outcome;
  };
  auto read = fromStandardInput ? readStandardInput() : readWholeFile(input);
  if (auto* failure = std::get_if<ReadFailure>(&read)) return fail("cannot read: " + failure->reason);
  const std::string text = std::move(std::get<std::string>(read));
  if (auto reason = undecodableReason(text)) return fail(*reason + "; not processed");

  std::string corrected;
  // An empty text has nothing to correct, and the helper's empty answer
  // would read as a failure.
  if (!text.empty()) {
    const AutoCorrectionOutcome answer = sendForAutoCorrection(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (!answer.correctedText)
      return fail("auto-correction failed: " + answer.failure.toStdString() + "; left unchanged");
    corrected = answer.correctedText->toStdString();
  }
  const bool changed = corrected != text;
  outcome.status = changed ? FileOutcome::Status::changed : FileOutcome::Status::unchanged;
  switch (mode) {
    case OutputMode::print:
      outcome.output = std::move(corrected);
      break;
    case OutputMode::inPlace:
      if (changed) {
        if (auto error = writeFileAtomically(input, corrected)) return fail(*error);
      }
      break;
    case OutputMode::check:
      if (changed) outcome.output = name + "\n";
      break;
  }
  return outcome;
}

int runLint(std::span<const std::string> args) {
  const ParsedTextOptions parsed = parseTextOptions(args, OptionSupport{}, 0);
  if (!parsed.error.empty()) return usageError(parsed.error, "lint");
  const TextOptions& options = parsed.options;
  if (options.help) {
    printOutput("Usage: brindle lint [OPTION...] [FILE...]\n\n" + std::string(lintDescription) +
                "\n\nOptions:\n" + textOptionsHelp(OptionSupport{}, 0));
    return finishOutput() ? exitFailure : exitSuccess;
  }

  // The bus connection needs an application object.
  static int argc = 1;
  static char name[] = "brindle";
  static char* argv[] = {name, nullptr};
  std::optional<QCoreApplication> application;
  if (!QCoreApplication::instance()) application.emplace(argc, argv);

  std::vector<std::string> inputs = options.files;
  if (inputs.empty()) inputs.push_back("-");
  bool anyFailed = false;
  bool anyChanged = false;
  for (const std::string& input : inputs) {
    const FileOutcome outcome = lintInput(input, options.mode);
    if (outcome.status == FileOutcome::Status::failed) {
      anyFailed = true;
      printError(outcome.error);
      continue;
    }
    anyChanged = anyChanged || outcome.status == FileOutcome::Status::changed;
    printOutput(outcome.output);
  }
  if (auto error = finishOutput()) {
    printError("cannot write to standard output: " + *error);
    anyFailed = true;
  }
  if (anyFailed) return exitFailure;
  return options.mode == OutputMode::check && anyChanged ? exitWouldChange : exitSuccess;
}

}  // namespace

Command lintCommand() {
  return {"lint", "auto-correct comments through the helper service", runLint};
}

}  // namespace brindlewort::cli
