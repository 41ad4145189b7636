#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/core/command.h"
#include "cli/core/messages.h"
#include "cli/core/option_table.h"

namespace brindlewort::cli {
namespace {

const Command* findCommand(std::span<const Command> commands, std::string_view name) {
  for (const Command& command : commands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

std::string overview(std::span<const Command> commands) {
  std::string text =
      "Usage: brindle COMMAND [OPTION...] [FILE...]\n"
      "       brindle --help | --version | help COMMAND\n"
      "\n"
      "Re-flows and proofreads the line comments of source files (//, #, --,\n"
      "; and %, by the file's language).\n"
      "\n"
      "Commands:\n";
  for (const Command& command : commands) {
    std::string line = "  " + std::string(command.name);
    line.resize(std::max<std::size_t>(line.size() + 2, 14), ' ');
    text += line + std::string(command.summary) + "\n";
  }
  text +=
      "\n"
      "Run 'brindle COMMAND --help' for the options of a command.\n"
      "Exit status: 0 success, 1 --check or --diff found something to change,\n"
      "2 usage error or a file that could not be processed.\n";
  return text;
}

}  // namespace

std::string_view brindleVersion() { return BRINDLEWORT_VERSION; }

int dispatch(std::span<const Command> commands, std::span<const std::string> args) {
  if (args.empty()) {
    const std::string text = overview(commands);
    std::fwrite(text.data(), 1, text.size(), stderr);
    return exitFailure;
  }
  const std::string& first = args.front();
  const Option* option = findOption(first, programName);
  if (option != nullptr && option->id == OptionId::help) {
    printOutput(overview(commands));
    return finishOutputStatus();
  }
  if (option != nullptr && option->id == OptionId::version) {
    printOutput("brindle " + std::string(brindleVersion()) + "\n");
    return finishOutputStatus();
  }
  if (first == "help") {
    if (args.size() == 1) {
      printOutput(overview(commands));
      return finishOutputStatus();
    }
    const Command* command = findCommand(commands, args[1]);
    if (command == nullptr) return usageError("unknown command '" + args[1] + "'", "");
    const std::string help[] = {"--help"};
    return command->run(std::span<const std::string>(help, 1));
  }
  const Command* command = findCommand(commands, first);
  if (command == nullptr) {
    if (first.starts_with("-")) return usageError("unknown option '" + first + "'", "");
    return usageError("unknown command '" + first + "'", "");
  }
  return command->run(args.subspan(1));
}

}  // namespace brindlewort::cli
