#include <string>
#include <vector>

#include "cli/commands/command_table.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return brindlewort::cli::dispatch(brindlewort::cli::allCommands(), args);
}
