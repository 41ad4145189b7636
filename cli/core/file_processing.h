#pragma once

// Runs a text transform over the inputs of a command: files in parallel,
// results and messages in argument order, in-place rewrites, --check.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "cli/core/text_options.h"

namespace brindlewort::cli {

// Turns a whole text into its new form or says why it cannot; an input
// that fails is reported and left as it was. Called from several threads at
// once when the inputs are processed on several threads.
using FallibleTransform = std::function<Result<std::string>(std::string_view text)>;

// The same for a transform that needs to know which file the text came
// from (its language, its .editorconfig): `path` is the file's path, or the
// name given for standard input (empty when none was). A TextTransform
// converts to it.
using SourceTransform =
    std::function<Result<std::string>(std::string_view text, std::string_view path)>;

// What --check reports for one input.
struct CheckReport {
  bool wouldChange = false;
  std::string output;  // printed on standard output
  std::string error;   // when not empty, the input could not be checked: why
};

// Decides --check for an input without transforming it; `path` is as for
// a SourceTransform. Called from several threads at once.
using InputCheck = std::function<CheckReport(std::string_view displayName, std::string_view text,
                                             std::string_view path)>;

// What a command does with each input.
struct InputProcessing {
  SourceTransform transform;      // printing and --in-place
  std::string standardInputPath;  // the path standard input stands for
  // --check; when empty, the transform runs and each input it would change
  // is listed by name on a line of its own.
  InputCheck check;
  // Whether a carriage return outside a CR-LF line end refuses the input:
  // everything but the whole-text scope reads lines and their ends.
  bool readsLineEnds = true;
  // What --check says after «FILE:LINE: » about a changed stretch of the
  // file at `path`; empty, or null, for "would change". Called for each
  // input that --check or --diff finds would change, from several threads
  // at once.
  std::function<std::string(std::string_view path)> changeNote;
  // --verbose: name each binary file skipped, not only count them.
  bool listsSkippedFiles = false;
};

// The name under which standard input appears in messages and listings
// when no --stdin-filename names it.
inline constexpr std::string_view standardInputName = "(standard input)";

// How an input appears in messages and listings: "-" as the name given for
// standard input, else as standardInputName.
std::string inputDisplayName(const std::string& input, std::string_view standardInputPath);

// Whether a file's content is binary rather than source text, so that a
// run over every file of a repository passes over it: a NUL byte in its
// first 8 KiB, or, for a file whose name gives no language, bytes that are
// not UTF-8. A file of a known language that is not UTF-8 is an error
// instead, as for standard input.
bool looksBinary(std::string_view path, std::string_view content);

struct FileOutcome {
  enum class Status { unchanged, changed, failed };
  Status status = Status::unchanged;
  bool skippedAsBinary = false;
  std::string output;  // what to print on standard output
  std::string error;   // the message for standard error when failed
};

// Reads one input ("-" is standard input), checks it can be decoded,
// transforms it and, by mode, keeps the result to print, rewrites the file
// or keeps the --check report or diff. A binary file (looksBinary) is
// passed over: printed as it is, never rewritten. A byte-order mark is kept and the text after
// it transformed; a result larger than outputBound() fails the input.
FileOutcome processInput(const std::string& input, const InputProcessing& processing,
                         OutputMode mode);

// Processes every input, on up to `threads` threads (with one, on the
// calling thread), and prints outputs and errors in argument order. Returns
// the exit status: 2 when any input failed or standard output could not be
// written, else 1 when --check found an input to change, else 0. A failure
// of any kind while processing an input is that input's error. With
// --in-place a file named twice (or through a second hard link) is
// processed once. Binary files passed over are counted in one note on
// standard error.
int processInputs(const std::vector<std::string>& inputs, const InputProcessing& processing,
                  OutputMode mode, unsigned threads);

}  // namespace brindlewort::cli
