#pragma once

// Every brindle command. Adding one: a file defining its `...Command()`
// function and one line in commands.def.

#include <span>

#include "cli/core/command.h"

namespace brindlewort::cli {

#define BRINDLE_COMMAND(function) Command function();
#include "cli/commands/commands.def"
#undef BRINDLE_COMMAND

// The commands in the order --help lists them.
std::span<const Command> allCommands();

}  // namespace brindlewort::cli
