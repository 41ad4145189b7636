#include "cli/commands/command_table.h"

#include <vector>

namespace brindlewort::cli {

std::span<const Command> allCommands() {
  static const std::vector<Command> commands{
#define BRINDLE_COMMAND(function) function(),
#include "cli/commands/commands.def"
#undef BRINDLE_COMMAND
  };
  return commands;
}

}  // namespace brindlewort::cli
