#include "cli/commands/command_table.h"
#include "cli/core/text_command.h"

namespace brindlewort::cli {
namespace {

const TextCommand wrap{
    .name = "wrap",
    .description =
        "Re-flows each comment paragraph so that no line holding two or more\n"
        "words is longer than the width, keeping prefixes and list indents.\n"
        "Results go to standard output in argument order unless --in-place or\n"
        "--check is given.",
    .setUp = [](const TextOptions& options) -> Result<TextWork> {
      return TextWork{.linesTransform = rewrapping(options.width)};
    },
};

}  // namespace

Command wrapCommand() {
  return {"wrap", "re-flow comment paragraphs to a width",
          [](std::span<const std::string> args) { return runTextCommand(wrap, args); }};
}

}  // namespace brindlewort::cli
