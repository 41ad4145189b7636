#include "cli/core/text_command.h"

#include <algorithm>

#include "cli/core/command.h"
#include "cli/core/default_width.h"
#include "cli/core/folder_arguments.h"
#include "cli/core/messages.h"
#include "cli/core/option_table.h"
#include "cli/core/parallel_for.h"
#include "engine/comment_length.h"
#include "reflow/comment_run_rewriting.h"
#include "reflow/source_file_reflow.h"

namespace brindlewort::cli {
namespace {

// A transform that only adds a marker line under each line with a finding
// changes a text exactly when there is a finding; in the comment-run scope
// it also gives every line of a run the run's line end, so a run that mixes
// LF and CR-LF changes even without one.
InputCheck findingsCheck(GroupFindings findings, TextScope scope, unsigned threads) {
  return [findings = std::move(findings), scope, threads](std::string_view name, std::string_view text,
                                                          std::string_view path) {
    const CommentMap comments =
        scope == TextScope::commentRuns
            ? lexCommentsInParallel(text, commentLanguageFor(path, text), {threads, parallelRunner(threads)})
            : CommentMap();
    CheckReport report{false, findingsReport(name, text, comments, scope, threads, findings), {}};
    report.wouldChange = !report.output.empty();
    if (!report.wouldChange && scope == TextScope::commentRuns && !commentRunsKeepLineEnds(text, comments)) {
      // Say why the file would change, or the exit status alone would
      // leave the user guessing.
      report.wouldChange = true;
      report.output = std::string(name) + ": mixed line ends in a comment run would be made uniform\n";
    }
    return report;
  };
}

// How each input is transformed and checked for the way of working.
InputProcessing processingFor(const decltype(TextWork::how)& how, TextScope scope, unsigned threads) {
  InputProcessing processing;
  if (const auto* lines = std::get_if<LineChecks>(&how)) {
    processing.transform = [transform = inScope(scope, lines->linesTransform, threads, lines->runTransform)](
                               std::string_view text, std::string_view path) -> Result<std::string> {
      return transform(text, path);
    };
    if (lines->findings) processing.check = findingsCheck(lines->findings, scope, threads);
  } else if (const auto* perFile = std::get_if<PerFileChecks>(&how)) {
    processing.transform = [checksFor = perFile->checksFor, scope, threads](
                               std::string_view text, std::string_view path) -> Result<std::string> {
      Result<LineChecks> checks = checksFor(text, path);
      if (!checks) return Error{checks.error()};
      return inScope(scope, checks->linesTransform, threads, checks->runTransform)(text, path);
    };
    processing.check = [checksFor = perFile->checksFor, scope, threads](
                           std::string_view name, std::string_view text, std::string_view path) {
      Result<LineChecks> checks = checksFor(text, path);
      if (!checks) return CheckReport{false, {}, checks.error()};
      return findingsCheck(checks->findings, scope, threads)(name, text, path);
    };
  } else if (const auto* whole = std::get_if<WholeTextWork>(&how)) {
    processing.transform = [transform = whole->transform](std::string_view text, std::string_view) {
      return transform(text);
    };
  } else if (const auto* source = std::get_if<SourceFileWork>(&how)) {
    processing.transform = source->transform;
  }
  return processing;
}

// The settings are read only by the commands that use them.
std::int64_t widthDefaultFor(std::string_view command) {
  return takesOption(command, OptionId::width) ? defaultWidth() : 0;
}

}  // namespace

std::string textCommandHelp(const TextCommand& command) {
  const std::int64_t width = widthDefaultFor(command.name);
  std::string text = "Usage: brindle " + std::string(command.name) + " [OPTION...] [FILE...]\n\n";
  text += std::string(command.description) + "\n\n";
  if (const std::string own = optionsHelp(command.name, OptionGroup::own); !own.empty()) {
    text += own + "\n";
  }
  text += "Options:\n";
  text += optionsHelp(command.name, OptionGroup::common,
                      width == noCommentLengthLimit ? "no limit" : std::to_string(width));
  text +=
      "\n"
      "With no FILE, or when FILE is -, standard input is read. A FILE that is\n"
      "a folder stands for the source files under it, in name order: a git\n"
      "work tree's tracked files, else the folder tree without hidden folders\n"
      "and what .gitignore lists. Binary files (a NUL byte in the first 8 KiB,\n"
      "or not UTF-8 in a file of no known language) are skipped with a note.\n"
      "Exit status: 0 success, 1 --check or --diff found something to change,\n"
      "2 usage error or a file that could not be read, decoded or written.\n";
  return text;
}

int runTextCommand(const TextCommand& command, std::span<const std::string> args) {
  Result<TextOptions> parsed = parseTextOptions(args, command.name, widthDefaultFor(command.name));
  if (!parsed) return usageError(parsed.error(), command.name);
  const TextOptions& options = *parsed;
  if (options.help) {
    printOutput(textCommandHelp(command));
    return finishOutputStatus();
  }
  Result<TextWork> work = command.setUp(options);
  if (!work) {
    printError(work.error());
    return exitFailure;
  }

  if (const Finished* finished = std::get_if<Finished>(&work->how)) return finished->status;

  std::vector<std::string> inputs = expandFolderArguments(options.files);
  if (options.files.empty()) inputs.push_back("-");
  // Files run side by side; the cores left over split a file's comment runs.
  const unsigned cores = command.concurrent ? hardwareThreads() : 1;
  const unsigned filesAtOnce = static_cast<unsigned>(std::min<std::size_t>(cores, inputs.size()));
  const unsigned threadsPerText = std::max(1u, cores / filesAtOnce);

  InputProcessing processing = processingFor(work->how, options.scope, threadsPerText);
  processing.standardInputPath = options.stdinFilename;
  processing.readsLineEnds = options.scope != TextScope::wholeText;
  processing.changeNote = work->changeNote;
  processing.listsSkippedFiles = options.verbose;
  const int status = processInputs(inputs, processing, options.mode, filesAtOnce);
  if (work->closingNote) {
    if (const std::string note = work->closingNote(); !note.empty()) printError(note);
  }
  if (status == exitWouldChange && command.checkFailureHint) {
    std::string hint = command.checkFailureHint(options);
    if (const std::string widths = work->widthsNote ? work->widthsNote() : std::string(); !widths.empty())
      hint += " (" + widths + ")";
    printError(hint);
  }
  return status;
}

}  // namespace brindlewort::cli
