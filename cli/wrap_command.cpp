#include "cli/command_table.h"
#include "cli/text_command.h"
#include "engine/rewrap.h"

namespace brindlewort::cli {
namespace {

const TextCommand wrap{
    .name = "wrap",
    .description =
        "Re-flows each comment paragraph so that no line holding two or more\n"
        "words is longer than the width, keeping prefixes and list indents.\n"
        "Results go to standard output in argument order unless --in-place or\n"
        "--check is given.",
    .support = {.width = true},
    .linesTransform =
        [](const TextOptions& options) -> LinesTransform {
      return [width = options.width](const std::vector<std::string_view>& lines) {
        return rewrapLines(lines, width);
      };
    },
    .findings = {},
};

int runWrap(std::span<const std::string> args) { return runTextCommand(wrap, args); }

}  // namespace

Command wrapCommand() { return {"wrap", "re-flow comment paragraphs to a width", runWrap}; }

}  // namespace brindlewort::cli
