#pragma once

// Runs a text transform over the inputs of a command: files in parallel,
// results and messages in argument order, in-place rewrites, --check.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/text_options.h"
#include "cli/text_transform.h"

namespace brindlewort::cli {

// What --check prints for an input that would change: the command's own
// findings (one line per finding, say). Called from several threads at once.
using FindingsReport = std::function<std::string(
    std::string_view displayName, std::string_view original, std::string_view transformed)>;

// The default --check report: the input's name on a line of its own.
std::string listFileName(std::string_view displayName, std::string_view original,
                         std::string_view transformed);

// The name under which standard input appears in messages and listings.
inline constexpr std::string_view standardInputName = "(standard input)";

struct FileOutcome {
  enum class Status { unchanged, changed, failed };
  Status status = Status::unchanged;
  std::string output;  // what to print on standard output
  std::string error;   // the message for standard error when failed
};

// Reads one input ("-" is standard input), checks it can be decoded,
// transforms it and, by mode, keeps the result to print, rewrites the file
// or keeps the --check report.
FileOutcome processInput(const std::string& input, const TextTransform& transform, OutputMode mode,
                         const FindingsReport& report);

// Processes every input on up to `threads` threads and prints outputs and
// errors in argument order. Returns the exit status: 2 when any input failed
// or standard output could not be written, else 1 when --check found an
// input to change, else 0.
int processInputs(const std::vector<std::string>& inputs, const TextTransform& transform,
                  OutputMode mode, const FindingsReport& report, unsigned threads);

}  // namespace brindlewort::cli
