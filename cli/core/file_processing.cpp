#include "cli/core/file_processing.h"

#include <new>
#include <optional>

#include "cli/core/atomic_write.h"
#include "cli/core/command.h"
#include "cli/core/file_reading.h"
#include "cli/core/messages.h"
#include "cli/core/parallel_for.h"
#include "cli/core/text_validation.h"

namespace brindlewort::cli {

namespace {

std::string displayName(const std::string& input) {
  return input == "-" ? std::string(standardInputName) : input;
}

FileOutcome processGuarded(const std::string& input, const InputProcessing& processing,
                           OutputMode mode) {
  try {
    return processInput(input, processing, mode);
  } catch (const std::bad_alloc&) {
    // A file too large for memory fails alone; the others still run.
    return {FileOutcome::Status::failed, {}, displayName(input) + ": out of memory"};
  }
}

}  // namespace

FileOutcome processInput(const std::string& input, const InputProcessing& processing,
                         OutputMode mode) {
  const bool fromStandardInput = input == "-";
  const std::string_view name = fromStandardInput ? standardInputName : std::string_view(input);
  FileOutcome outcome;
  auto fail = [&](std::string_view why) {
    outcome.status = FileOutcome::Status::failed;
    outcome.error = std::string(name) + ": " + std::string(why);
    return std::move(outcome);
  };

  Result<std::string> read = fromStandardInput ? readStandardInput() : readWholeFile(input);
  if (!read) return fail("cannot read: " + read.error());
  std::string text = std::move(*read);
  if (Result<void> decodable = checkDecodable(text); !decodable) {
    return fail(decodable.error() + "; not processed");
  }

  const std::string_view path =
      fromStandardInput ? std::string_view(processing.standardInputPath) : std::string_view(input);
  if (mode == OutputMode::check && processing.check) {
    CheckReport report = processing.check(name, text, path);
    if (!report.error.empty()) return fail(report.error);
    if (report.wouldChange) {
      outcome.status = FileOutcome::Status::changed;
      outcome.output = std::move(report.output);
    }
    return outcome;
  }

  Result<std::string> result =
      processing.sourceTransform ? processing.sourceTransform(text, path) : processing.transform(text);
  if (!result) return fail(result.error());
  std::string transformed = std::move(*result);
  const bool changed = transformed != text;
  outcome.status = changed ? FileOutcome::Status::changed : FileOutcome::Status::unchanged;
  switch (mode) {
    case OutputMode::print:
      outcome.output = std::move(transformed);
      break;
    case OutputMode::inPlace:
      if (changed) {
        text = {};  // the old content is no longer needed while writing
        if (Result<void> written = writeFileAtomically(input, transformed); !written) {
          return fail(written.error());
        }
      }
      break;
    case OutputMode::check:
      if (changed) outcome.output = std::string(name) + "\n";
      break;
  }
  return outcome;
}

int processInputs(const std::vector<std::string>& inputs, const InputProcessing& processing,
                  OutputMode mode, unsigned threads) {
  bool anyFailed = false;
  bool anyChanged = false;
  auto show = [&](const FileOutcome& outcome) {
    if (outcome.status == FileOutcome::Status::failed) {
      anyFailed = true;
      printError(outcome.error);
      return;
    }
    anyChanged = anyChanged || outcome.status == FileOutcome::Status::changed;
    printOutput(outcome.output);
  };

  // Outcomes wait for their turn, so that output keeps argument order
  // whichever file finishes first.
  std::vector<std::optional<FileOutcome>> outcomes(inputs.size());
  parallelForInOrder(
      inputs.size(), threads,
      [&](std::size_t i) { outcomes[i] = processGuarded(inputs[i], processing, mode); },
      [&](std::size_t i) {
        show(*outcomes[i]);
        outcomes[i].reset();
      });

  if (Result<void> finished = finishOutput(); !finished) {
    printError("cannot write to standard output: " + finished.error());
    anyFailed = true;
  }
  if (anyFailed) return exitFailure;
  return mode == OutputMode::check && anyChanged ? exitWouldChange : exitSuccess;
}

}  // namespace brindlewort::cli
