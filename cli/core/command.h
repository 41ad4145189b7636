#pragma once

// A brindle subcommand and the table-driven dispatch over them. Each command
// lives in its own file and is listed once in command_table.cpp.

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace brindlewort::cli {

// Exit statuses shared by every command.
inline constexpr int exitSuccess = 0;
inline constexpr int exitWouldChange = 1;  // --check or --diff found something to change
inline constexpr int exitFailure = 2;      // usage error or a file that failed

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for the command list
  // Runs the command on the arguments after its name; returns the exit status.
  std::function<int(std::span<const std::string> args)> run;
};

// Runs `brindle` with the arguments after the program name: global options
// (--help, --version), `help [COMMAND]`, or a command of the table.
int dispatch(std::span<const Command> commands, std::span<const std::string> args);

// The project version as printed by --version.
std::string_view brindleVersion();

}  // namespace brindlewort::cli
