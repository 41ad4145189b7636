#pragma once

// The common shape of the commands that transform text files (wrap, unwrap,
// and the proofreading commands): shared options, --help, the two scopes,
// and processing of the inputs.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "cli/file_processing.h"
#include "cli/text_options.h"
#include "cli/text_transform.h"

namespace brindlewort::cli {

struct TextCommand {
  std::string_view name;
  std::string_view description;  // what the command does, for --help
  OptionSupport support;
  // The transformation of a list of lines for the parsed options; applied in
  // the chosen scope. Must be safe to call from several threads at once.
  std::function<LinesTransform(const TextOptions&)> linesTransform;
  // What --check prints for an input that would change; empty: its name.
  FindingsReport findings;
  // Whether the transform may run on several threads at once.
  bool concurrent = true;
};

// Parses the arguments after the command name and runs the command; returns
// the exit status.
int runTextCommand(const TextCommand& command, std::span<const std::string> args);

// The --help text of the command.
std::string textCommandHelp(const TextCommand& command);

}  // namespace brindlewort::cli
