#include "cli/file_processing.h"

#include <condition_variable>
#include <new>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/atomic_write.h"
#include "cli/command.h"
#include "cli/file_reading.h"
#include "cli/messages.h"
#include "cli/text_validation.h"

namespace brindlewort::cli {

std::string listFileName(std::string_view displayName, std::string_view, std::string_view) {
  return std::string(displayName) + "\n";
}

namespace {

std::string displayName(const std::string& input) {
  return input == "-" ? std::string(standardInputName) : input;
}

}  // namespace

FileOutcome processInput(const std::string& input, const TextTransform& transform, OutputMode mode,
                         const FindingsReport& report) {
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

  std::string transformed = transform(text);
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
      if (changed) outcome.output = (report ? report : listFileName)(name, text, transformed);
      break;
  }
  return outcome;
}

int processInputs(const std::vector<std::string>& inputs, const TextTransform& transform,
                  OutputMode mode, const FindingsReport& report, unsigned threads) {
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
      FileOutcome outcome;
      try {
        outcome = processInput(inputs[index], transform, mode, report);
      } catch (const std::bad_alloc&) {
        // A file too large for memory fails alone; the others still run.
        outcome = {FileOutcome::Status::failed, {}, displayName(inputs[index]) + ": out of memory"};
      }
      {
        std::lock_guard lock(mutex);
        outcomes[index] = std::move(outcome);
      }
      done.notify_all();
    }
  };
  std::vector<std::jthread> workers;
  const std::size_t workerCount = std::min<std::size_t>(std::max(threads, 1u), inputs.size());
  for (std::size_t i = 0; i < workerCount; ++i) workers.emplace_back(work);

  bool anyFailed = false;
  bool anyChanged = false;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    FileOutcome outcome;
    {
      std::unique_lock lock(mutex);
      done.wait(lock, [&] { return outcomes[i].has_value(); });
      outcome = std::move(*outcomes[i]);
      outcomes[i].reset();
    }
    if (outcome.status == FileOutcome::Status::failed) {
      anyFailed = true;
      printError(outcome.error);
      continue;
    }
    anyChanged = anyChanged || outcome.status == FileOutcome::Status::changed;
    printOutput(outcome.output);
  }
  workers.clear();

  if (auto error = finishOutput()) {
    printError("cannot write to standard output: " + *error);
    anyFailed = true;
  }
  if (anyFailed) return exitFailure;
  return mode == OutputMode::check && anyChanged ? exitWouldChange : exitSuccess;
}

}  // namespace brindlewort::cli
