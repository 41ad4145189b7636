#include "cli/command_table.h"
#include "cli/text_command.h"
#include "engine/comment_length.h"
#include "engine/rewrap.h"

namespace brindlewort::cli {
namespace {

const TextCommand unwrap{
    .name = "unwrap",
    .description =
        "Joins each comment paragraph back into one line.\n"
        "Results go to standard output in argument order unless --in-place or\n"
        "--check is given.",
    .support = {},
    .linesTransform =
        [](const TextOptions&) -> LinesTransform {
      return [](const std::vector<std::string_view>& lines) {
        return rewrapLines(lines, noCommentLengthLimit);
      };
    },
    .findings = {},
};

int runUnwrap(std::span<const std::string> args) { return runTextCommand(unwrap, args); }

}  // namespace

Command unwrapCommand() { return {"unwrap", "join each comment paragraph into one line", runUnwrap}; }

}  // namespace brindlewort::cli
