#pragma once

// The common shape of the commands that transform text files (wrap, unwrap,
// the proofreading commands and lint): their options, --help, the two
// scopes, and processing of the inputs.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "base/result.h"
#include "cli/core/file_processing.h"
#include "cli/core/findings_report.h"
#include "cli/core/text_options.h"
#include "cli/core/text_transform.h"

namespace brindlewort::cli {

// The checks of a command that only adds marker lines under lines with
// findings (spell, grammar): the lines transform applied in the chosen
// scope, and the finding lines of one group, which --check lists instead of
// names, computing them without transforming the text. Both must be safe to
// call from several threads at once.
struct LineChecks {
  LinesTransform linesTransform;
  GroupFindings findings;
  // When set, the comment-run scope's transform, given each line's facts.
  RunLinesTransform runTransform = {};
};

// Line checks made anew for each input from its text and its file's path
// (the name given for standard input; empty when none was), or why that
// input cannot be checked. Called from several threads at once.
struct PerFileChecks {
  std::function<Result<LineChecks>(std::string_view text, std::string_view path)> checksFor;
};

// A transformation of the whole text, whatever the scope, that may fail;
// --check transforms and lists each input that would change.
struct WholeTextWork {
  FallibleTransform transform;
};

// A transform that knows each text's file: its language, its .editorconfig.
struct SourceFileWork {
  SourceTransform transform;
};

// Setting up did all the command had to do: no input is read and this is
// the exit status.
struct Finished {
  int status = 0;
};

// What a text command does with each text, set up for the parsed options.
struct TextWork {
  // Exactly one way of working.
  std::variant<LineChecks, PerFileChecks, WholeTextWork, SourceFileWork, Finished> how;
  // A note for standard error once every input is done; empty for none.
  std::function<std::string()> closingNote = {};
  // What --check says after «FILE:LINE: » of each changed stretch of the
  // file at the path; null for "would change".
  std::function<std::string(std::string_view path)> changeNote = {};
  // The widths the inputs that would change were wrapped to, and where
  // each came from, for the fix hint; null or empty for none.
  std::function<std::string()> widthsNote = {};
};

struct TextCommand {
  std::string_view name;
  std::string_view description;  // what the command does, for --help
  // Sets up the work for the parsed options (not for --help); an error is
  // printed and nothing is processed.
  std::function<Result<TextWork>(const TextOptions&)> setUp = {};
  // Whether the transform may run on several threads at once.
  bool concurrent = true;
  // When --check or --diff finds something: what to run to fix it, for
  // standard error. Empty: nothing to say (no command fixes it).
  std::function<std::string(const TextOptions&)> checkFailureHint = {};
};

// Parses the arguments after the command name and runs the command; returns
// the exit status.
int runTextCommand(const TextCommand& command, std::span<const std::string> args);

// The --help text of the command.
std::string textCommandHelp(const TextCommand& command);

}  // namespace brindlewort::cli
