#pragma once

// The common shape of the commands that transform text files (wrap, unwrap,
// the proofreading commands and lint): shared options, --help, the two
// scopes, and processing of the inputs.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "cli/core/file_processing.h"
#include "cli/core/findings_report.h"
#include "cli/core/text_options.h"
#include "cli/core/text_transform.h"

namespace brindlewort::cli {

struct TextCommand {
  std::string_view name;
  std::string_view description;  // what the command does, for --help
  OptionSupport support;
  // The transformation of a list of lines for the parsed options; applied in
  // the chosen scope. Must be safe to call from several threads at once.
  std::function<LinesTransform(const TextOptions&)> linesTransform = {};
  // Instead of linesTransform: a transformation of the whole text, whatever
  // the scope, that may fail.
  FallibleTransform textTransform = {};
  // For a command whose lines transform only adds a marker line under lines
  // with findings: the finding lines of one group, which --check lists
  // instead of names, computing them without transforming the text. Empty:
  // --check transforms and lists each input that would change.
  GroupFindings findings = {};
  // Whether the transform may run on several threads at once.
  bool concurrent = true;
};

// Parses the arguments after the command name and runs the command; returns
// the exit status.
int runTextCommand(const TextCommand& command, std::span<const std::string> args);

// The entry point for the command table of a text command defined once.
template <const TextCommand& command>
int runText(std::span<const std::string> args) {
  return runTextCommand(command, args);
}

// The --help text of the command.
std::string textCommandHelp(const TextCommand& command);

}  // namespace brindlewort::cli
