#include "cli/commands/command_table.h"
#include "cli/core/default_width.h"
#include "cli/core/fix_hint.h"
#include "cli/core/source_reflowing.h"
#include "cli/core/text_command.h"
#include "engine/comment_length.h"

namespace brindlewort::cli {
namespace {

const TextCommand unwrap{
    .name = "unwrap",
    .description =
        "Joins each comment paragraph back into one line.\n"
        "Results go to standard output in argument order unless --in-place or\n"
        "--check is given.",
    .setUp = [](const TextOptions& options) -> Result<TextWork> {
      if (options.scope == TextScope::wholeText) {
        return TextWork{.how = WholeTextWork{wholeTextRewrapping(noCommentLengthLimit)}};
      }
      // Unwrap leaves alone a paragraph with too little room to be wrapped
      // back, which depends on the width a later wrap would use.
      TextOptions reflow = options;
      reflow.width = defaultWidth();
      return sourceReflowWork(reflow, ReflowMode::unwrap);
    },
    .checkFailureHint = [](const TextOptions& options) { return inPlaceFixHint("unwrap", options); },
};

}  // namespace

Command unwrapCommand() {
  return {"unwrap", "join each comment paragraph into one line",
          [](std::span<const std::string> args) { return runTextCommand(unwrap, args); }};
}

}  // namespace brindlewort::cli
