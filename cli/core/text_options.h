#pragma once

// The options of the commands that transform text files, and their
// parsing. Options and files may come in any order; "--" ends the options
// and "-" names standard input.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "proofreading/grammar_rules.h"
#include "reflow/line_span.h"

namespace brindlewort::cli {

enum class TextScope {
  commentRuns,  // each run of comment lines on its own; code lines untouched
  wholeText,    // the whole text, split at every line feed
};

enum class OutputMode {
  print,    // results to standard output, in argument order
  inPlace,  // rewrite each file that changes
  check,    // list where each input would change
  diff,     // print a unified diff of each input that would change
};

struct TextOptions {
  OutputMode mode = OutputMode::print;
  TextScope scope = TextScope::commentRuns;
  std::int64_t width = 0;          // maximum comment length; noCommentLengthLimit for none
  bool widthGiven = false;         // --width was given: .editorconfig does not count
  bool fill = false;               // --fill
  std::optional<std::size_t> tabWidth;  // --tab-width
  std::vector<LineSpan> lines;     // --lines, from 0 here; empty: every line
  std::string stdinFilename;       // --stdin-filename
  std::string language;            // --lang; empty: the user's language
  bool verbose = false;            // --verbose
  std::optional<std::chrono::milliseconds> timeout;  // --timeout
  std::string addWord;             // --add-word
  GrammarRules grammarRules;       // --rules
  std::vector<std::string> files;  // empty: standard input
  bool help = false;
};

// Parses the arguments after the name of the command: first the command's
// own options, then the common ones. `defaultWidthValue` is used when the
// command takes --width and none is given.
Result<TextOptions> parseTextOptions(std::span<const std::string> args, std::string_view command,
                                     std::int64_t defaultWidthValue);

// A --lines value "A:B" (1 <= A <= B, counted from 1) as lines A-1 to B-1;
// absent when it is not one.
std::optional<LineSpan> parseLineRange(std::string_view value);

// The maximum comment length for a --width value: a whole number >= 0, where
// 0 means no limit. Absent when the value is not such a number.
std::optional<std::int64_t> parseWidth(std::string_view value);

// A --timeout value: seconds above 0 and below a day, fractions allowed.
std::optional<std::chrono::milliseconds> parseTimeout(std::string_view value);

}  // namespace brindlewort::cli
