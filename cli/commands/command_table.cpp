#include "cli/commands/command_table.h"

namespace brindlewort::cli {

std::span<const Command> allCommands() {
  static const Command commands[] = {
      wrapCommand(), unwrapCommand(), spellCommand(), grammarCommand(), lintCommand(), configCommand(),
      explainCommand(), lspCommand(),
  };
  return commands;
}

}  // namespace brindlewort::cli
