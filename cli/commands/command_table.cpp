#include "cli/commands/command_table.h"

namespace brindlewort::cli {

std::span<const Command> allCommands() {
  static const Command commands[] = {
      wrapCommand(), unwrapCommand(), spellCommand(), grammarCommand(), lintCommand(), configCommand(),
      explainCommand(),
  };
  return commands;
}

}  // namespace brindlewort::cli
