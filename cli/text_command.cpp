#include "cli/text_command.h"

#include <algorithm>

#include "cli/command.h"
#include "cli/default_width.h"
#include "cli/messages.h"
#include "cli/parallel_for.h"

namespace brindlewort::cli {

std::string textCommandHelp(const TextCommand& command) {
  std::string name(command.name);
  std::string usage = "Usage: brindle " + name + " [OPTION...] [FILE...]\n\n";
  usage += std::string(command.description) + "\n\nOptions:\n";
  usage += textOptionsHelp(command.support, defaultWidth());
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

  TextTransform transform = inScope(options.scope, command.linesTransform(options), threadsPerText);
  return processInputs(inputs, transform, options.mode, command.findings, filesAtOnce);
}

}  // namespace brindlewort::cli
