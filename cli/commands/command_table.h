#pragma once

// Every brindle command. Adding one: a file defining its `...Command()`
// function, declared here and listed in allCommands().

#include <span>

#include "cli/core/command.h"

namespace brindlewort::cli {

Command wrapCommand();
Command unwrapCommand();
Command spellCommand();
Command grammarCommand();
Command lintCommand();
Command configCommand();
Command explainCommand();
Command lspCommand();

// The commands in the order --help lists them.
std::span<const Command> allCommands();

}  // namespace brindlewort::cli
