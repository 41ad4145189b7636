#include "cli/core/text_command.h"

#include <algorithm>

#include "cli/core/command.h"
#include "cli/core/default_width.h"
#include "cli/core/messages.h"
#include "cli/core/parallel_for.h"

namespace brindlewort::cli {
namespace {

// A transform that only adds a marker line under each line with a finding
// changes a text exactly when there is a finding; in the comment-run scope
// it also gives every line of a run the run's line end, so a run that mixes
// LF and CR-LF changes even without one.
InputCheck findingsCheck(GroupFindings findings, TextScope scope, unsigned threads) {
  return [findings = std::move(findings), scope, threads](std::string_view name,
                                                          std::string_view text) {
    CheckReport report{false, findingsReport(name, text, scope, threads, findings)};
    report.wouldChange = !report.output.empty();
    if (!report.wouldChange && scope == TextScope::commentRuns && !commentRunsKeepLineEnds(text)) {
      // Say why the file would change, or the exit status alone would
      // leave the user guessing.
      report.wouldChange = true;
      report.output = std::string(name) + ": mixed line ends in a comment run would be made uniform\n";
    }
    return report;
  };
}

}  // namespace

std::string textCommandHelp(const TextCommand& command) {
  std::string name(command.name);
  std::string usage = "Usage: brindle " + name + " [OPTION...] [FILE...]\n\n";
  usage += std::string(command.description) + "\n\nOptions:\n";
  usage += textOptionsHelp(command.support, command.support.width ? defaultWidth() : 0);
  return usage;
}

int runTextCommand(const TextCommand& command, std::span<const std::string> args) {
  const std::int64_t width = command.support.width ? defaultWidth() : 0;
  ParsedTextOptions parsed = parseTextOptions(args, command.support, width);
  if (!parsed.error.empty()) return usageError(parsed.error, command.name);
  const TextOptions& options = parsed.options;
  if (options.help) {
    printOutput(textCommandHelp(command));
    return finishOutput() ? exitFailure : exitSuccess;
  }

  std::vector<std::string> inputs = options.files;
  if (inputs.empty()) inputs.push_back("-");
  // Files run side by side; the cores left over split a file's comment runs.
  const unsigned cores = command.concurrent ? hardwareThreads() : 1;
  const unsigned filesAtOnce = static_cast<unsigned>(std::min<std::size_t>(cores, inputs.size()));
  const unsigned threadsPerText = std::max(1u, cores / filesAtOnce);

  InputProcessing processing;
  if (command.textTransform) {
    processing.transform = command.textTransform;
  } else {
    processing.transform = inScope(options.scope, command.linesTransform(options), threadsPerText);
  }
  if (command.findings) {
    processing.check = findingsCheck(command.findings, options.scope, threadsPerText);
  }
  return processInputs(inputs, processing, options.mode, filesAtOnce);
}

}  // namespace brindlewort::cli
