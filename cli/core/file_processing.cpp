#include "cli/core/file_processing.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <set>
#include <utility>

#include "base/atomic_write.h"
#include "cli/core/command.h"
#include "cli/core/display_name.h"
#include "cli/core/file_reading.h"
#include "cli/core/messages.h"
#include "cli/core/output_bound.h"
#include "cli/core/parallel_for.h"
#include "cli/core/rewrite_eligibility.h"
#include "cli/core/text_changes.h"
#include "reflow/text_validation.h"
#include "engine/utf8_validation.h"
#include "reflow/source_language.h"

namespace brindlewort::cli {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// How far into a file a NUL byte marks it as binary, as git and grep look.
constexpr std::size_t binaryProbeSize = 8192;

// The --check lines for a text and its transformed form: the first line of
// each changed stretch.
std::string changeReport(std::string_view name, std::string_view before, std::string_view after,
                         std::string_view note) {
  const std::size_t lastLine = std::max<std::size_t>(1, static_cast<std::size_t>(std::count(
                                                            before.begin(), before.end(), '\n')) +
                                                            (before.ends_with('\n') ? 0 : 1));
  std::string report;
  for (const LineChange& change : lineChanges(before, after)) {
    report += std::string(name) + ':' + std::to_string(std::min(change.oldFirst + 1, lastLine)) + ": ";
    report += note.empty() ? std::string_view("would change") : note;
    report += '\n';
  }
  return report;
}

// Whatever goes wrong with one file, on its own thread or on the threads
// that share its work, fails that file alone; the others still run.
FileOutcome processGuarded(const std::string& input, const InputProcessing& processing,
                           OutputMode mode) {
  auto failed = [&](std::string_view why) {
    return FileOutcome{FileOutcome::Status::failed, false, {},
                       inputDisplayName(input, processing.standardInputPath) + ": " + std::string(why)};
  };
  try {
    return processInput(input, processing, mode);
  } catch (const std::bad_alloc&) {
    return failed("out of memory; not processed");
  } catch (const std::exception& error) {
    return failed(std::string(error.what()) + "; not processed");
  } catch (...) {
    return failed("failed; not processed");
  }
}

// For each input, whether an earlier one names the same file (device and
// inode): rewriting it again would work on the first rewrite's result.
std::vector<bool> repeatedFiles(const std::vector<std::string>& inputs) {
  std::vector<bool> repeated(inputs.size(), false);
  std::set<std::pair<dev_t, ino_t>> seen;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    struct stat info {};
    if (inputs[i] == "-" || ::stat(inputs[i].c_str(), &info) != 0) continue;
    repeated[i] = !seen.emplace(info.st_dev, info.st_ino).second;
  }
  return repeated;
}

}  // namespace

std::string inputDisplayName(const std::string& input, std::string_view standardInputPath) {
  if (input != "-") return displayedFileName(input);
  return standardInputPath.empty() ? std::string(standardInputName) : displayedFileName(standardInputPath);
}

bool looksBinary(std::string_view path, std::string_view content) {
  if (content.substr(0, binaryProbeSize).find('\0') != std::string_view::npos) return true;
  return languageForPath(path).kind == LanguageLookup::Kind::unknown && firstInvalidUtf8Offset(content);
}

FileOutcome processInput(const std::string& input, const InputProcessing& processing,
                         OutputMode mode) {
  const bool fromStandardInput = input == "-";
  const std::string name = inputDisplayName(input, processing.standardInputPath);
  FileOutcome outcome;
  auto fail = [&](std::string_view why) {
    outcome.status = FileOutcome::Status::failed;
    outcome.error = name + ": " + std::string(why);
    return std::move(outcome);
  };

  if (mode == OutputMode::inPlace) {
    if (Result<void> rewritable = checkRewritable(input); !rewritable) return fail(rewritable.error());
  }
  Result<std::string> read = fromStandardInput ? readStandardInput() : readWholeFile(input);
  if (!read) return fail("cannot read: " + read.error());
  std::string whole = std::move(*read);
  if (!fromStandardInput && looksBinary(input, whole)) {
    outcome.skippedAsBinary = true;
    if (mode == OutputMode::print) outcome.output = std::move(whole);
    return outcome;
  }
  if (Result<void> decodable = checkDecodable(whole); !decodable) {
    return fail(decodable.error() + "; not processed");
  }
  if (processing.readsLineEnds) {
    if (Result<void> lineEnds = checkLineEnds(whole); !lineEnds) return fail(lineEnds.error() + "; not processed");
  }
  // The mark is no part of the first line: without it that line is read as
  // what it is, and the mark goes back in front of the result.
  const std::string_view mark =
      std::string_view(whole).starts_with(byteOrderMark) ? byteOrderMark : std::string_view();
  const std::string_view text = std::string_view(whole).substr(mark.size());

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
      processing.transform(text, path);
  if (!result) return fail(result.error());
  if (result->size() > outputBound(whole.size())) return fail(outputTooLarge(whole.size()).message);
  std::string transformed = std::move(*result);
  const bool changed = transformed != text;
  if (changed && !mark.empty()) transformed.insert(0, mark);
  outcome.status = changed ? FileOutcome::Status::changed : FileOutcome::Status::unchanged;
  switch (mode) {
    case OutputMode::print:
      outcome.output = changed ? std::move(transformed) : std::move(whole);
      break;
    case OutputMode::inPlace:
      if (changed) {
        std::string().swap(whole);  // the old content is no longer needed while writing
        if (Result<void> written = writeFileAtomically(input, transformed); !written) {
          return fail(written.error());
        }
      }
      break;
    case OutputMode::check:
      if (changed) {
        const std::string note = processing.changeNote ? processing.changeNote(path) : std::string();
        outcome.output = changeReport(name, text, std::string_view(transformed).substr(mark.size()), note);
      }
      break;
    case OutputMode::diff:
      // The note is not shown, but what it learns goes into the fix hint.
      if (changed && processing.changeNote) processing.changeNote(path);
      if (changed) outcome.output = unifiedDiff(name, text, std::string_view(transformed).substr(mark.size()));
      break;
  }
  return outcome;
}

int processInputs(const std::vector<std::string>& inputs, const InputProcessing& processing,
                  OutputMode mode, unsigned threads) {
  bool anyFailed = false;
  bool anyChanged = false;
  std::size_t binaryFiles = 0;
  auto show = [&](const std::string& input, const FileOutcome& outcome) {
    if (outcome.status == FileOutcome::Status::failed) {
      anyFailed = true;
      printError(outcome.error);
      return;
    }
    if (outcome.skippedAsBinary) {
      ++binaryFiles;
      if (processing.listsSkippedFiles) printError(displayedFileName(input) + ": binary; skipped");
    }
    anyChanged = anyChanged || outcome.status == FileOutcome::Status::changed;
    printOutput(outcome.output);
  };

  // Outcomes wait for their turn, so that output keeps argument order
  // whichever file finishes first.
  std::vector<std::optional<FileOutcome>> outcomes(inputs.size());
  const std::vector<bool> repeated =
      mode == OutputMode::inPlace ? repeatedFiles(inputs) : std::vector<bool>(inputs.size(), false);
  parallelForInOrder(
      inputs.size(), threads,
      [&](std::size_t i) {
        outcomes[i] = repeated[i] ? FileOutcome{} : processGuarded(inputs[i], processing, mode);
      },
      [&](std::size_t i) {
        show(inputs[i], *outcomes[i]);
        outcomes[i].reset();
      });

  if (finishOutputStatus() != exitSuccess) anyFailed = true;
  if (binaryFiles > 0) {
    printError("skipped " + std::to_string(binaryFiles) + (binaryFiles == 1 ? " binary file" : " binary files") +
               (processing.listsSkippedFiles ? "" : " (--verbose lists them)"));
  }
  if (anyFailed) return exitFailure;
  const bool reportsChanges = mode == OutputMode::check || mode == OutputMode::diff;
  return reportsChanges && anyChanged ? exitWouldChange : exitSuccess;
}

}  // namespace brindlewort::cli
