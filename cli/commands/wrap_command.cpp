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
    .support = {.width = true},
    .linesTransform = [](const TextOptions& options) { return rewrapping(options.width); },
};

}  // namespace

Command wrapCommand() { return {"wrap", "re-flow comment paragraphs to a width", runText<wrap>}; }

}  // namespace brindlewort::cli
