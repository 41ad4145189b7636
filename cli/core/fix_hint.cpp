#include "cli/core/fix_hint.h"

#include <algorithm>

#include "engine/comment_length.h"

namespace brindlewort::cli {

std::string inPlaceFixHint(std::string_view command, const TextOptions& options) {
  const bool onlyStandardInput =
      std::all_of(options.files.begin(), options.files.end(), [](const std::string& file) { return file == "-"; });
  if (onlyStandardInput) {
    return std::string("to fix it, run the same command without ") +
           (options.mode == OutputMode::diff ? "--diff" : "--check") + ": it prints the fixed text";
  }

  std::string fix = "brindle " + std::string(command) + " -i";
  // Only the options that change the result; the width only when given,
  // since without it the same .editorconfig or shared setting applies again.
  if (options.widthGiven) {
    fix += " --width " + (options.width == noCommentLengthLimit ? std::string("0") : std::to_string(options.width));
  }
  if (options.fill) fix += " --fill";
  if (options.tabWidth) fix += " --tab-width " + std::to_string(*options.tabWidth);
  if (options.scope == TextScope::wholeText) fix += " --whole-text";
  for (const LineSpan& span : options.lines) {
    fix += " --lines " + std::to_string(span.first + 1) + ":" + std::to_string(span.last + 1);
  }
  return "to fix the files listed, run: " + fix + " FILE...";
}

}  // namespace brindlewort::cli
