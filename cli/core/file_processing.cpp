#include "cli/core/file_processing.h"

#include <algorithm>
#include <condition_variable>
#include <new>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/core/atomic_write.h"
#include "cli/core/command.h"
#include "cli/core/file_reading.h"
#include "cli/core/messages.h"
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

  auto read = fromStandardInput ? readStandardInput() : readWholeFile(input);
  if (auto* failure = std::get_if<ReadFailure>(&read)) return fail("cannot read: " + failure->reason);
  std::string text = std::move(std::get<std::string>(read));
  if (auto reason = undecodableReason(text)) return fail(*reason + "; not processed");

  if (mode == OutputMode::check && processing.check) {
    CheckReport report = processing.check(name, text);
    if (report.wouldChange) {
      outcome.status = FileOutcome::Status::changed;
      outcome.output = std::move(report.output);
    }
    return outcome;
  }

  TransformResult result = processing.transform(text);
  if (auto* failure = std::get_if<TransformFailure>(&result)) return fail(failure->reason);
  std::string transformed = std::move(std::get<std::string>(result));
  const bool changed = transformed != text;
  outcome.status = changed ? FileOutcome::Status::changed : FileOutcome::Status::unchanged;
  switch (mode) {
    case OutputMode::print:
      outcome.output = std::move(transformed);
      break;
    case OutputMode::inPlace:
      if (changed) {
        text = {};  // the old content is no longer needed while writing
        if (auto error = writeFileAtomically(input, transformed)) return fail(*error);
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

  const std::size_t workerCount = std::min<std::size_t>(std::max(threads, 1u), inputs.size());
  if (workerCount <= 1) {
    // One at a time on this thread: some transforms (the helper's bus
    // connection) belong to the thread that set them up.
    for (const std::string& input : inputs) show(processGuarded(input, processing, mode));
  } else {
    std::vector<std::optional<FileOutcome>> outcomes(inputs.size());
    std::mutex mutex;
    std::condition_variable done;
    std::size_t next = 0;

    auto work = [&] {
      for (;;) {
        std::size_t index;
        {
          std::lock_guard lock(mutex);
          if (next >= inputs.size()) return;
          index = next++;
        }
        FileOutcome outcome = processGuarded(inputs[index], processing, mode);
        {
          std::lock_guard lock(mutex);
          outcomes[index] = std::move(outcome);
        }
        done.notify_all();
      }
    };
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < workerCount; ++i) workers.emplace_back(work);

    for (std::size_t i = 0; i < inputs.size(); ++i) {
      FileOutcome outcome;
      {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return outcomes[i].has_value(); });
        outcome = std::move(*outcomes[i]);
        outcomes[i].reset();
      }
      show(outcome);
    }
  }

  if (auto error = finishOutput()) {
    printError("cannot write to standard output: " + *error);
    anyFailed = true;
  }
  if (anyFailed) return exitFailure;
  return mode == OutputMode::check && anyChanged ? exitWouldChange : exitSuccess;
}

}  // namespace brindlewort::cli
