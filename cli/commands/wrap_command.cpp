#include "cli/commands/command_table.h"
#include "cli/core/fix_hint.h"
#include "cli/core/source_reflowing.h"
#include "cli/core/text_command.h"
#include "engine/comment_length.h"

namespace brindlewort::cli {
namespace {

const TextCommand wrap{
    .name = "wrap",
    .description =
        "Breaks the comment lines that are longer than the width, carrying the\n"
        "overflow into the next line of the same paragraph; paragraphs that fit\n"
        "stay as they are (--fill re-flows every paragraph). Only comment\n"
        "paragraphs move: line comments (//, # in Python, shell, YAML, CMake...,\n"
        "-- in SQL and Lua, ; in Lisp, % in TeX and Erlang), and block and doc\n"
        "comments (/* */, /** */ with their tags, #[[ ]], --[[ ]], {- -}); the\n"
        "language comes from the file's name, extension, shebang or modeline.\n"
        "Code, strings, here-documents, and structure inside comments (fenced\n"
        "and indented code, tables, diagrams, lists, directives, tags, shebang\n"
        "and modelines, a block's opener, closer and decoration), are kept byte\n"
        "for byte and no word is lost.\n"
        "Results go to standard output in argument order unless --in-place or\n"
        "--check is given.",
    .setUp = [](const TextOptions& options) -> Result<TextWork> {
      if (options.scope == TextScope::wholeText) {
        // The workbench's way knows no .editorconfig.
        const WidthChoice width{options.width == noCommentLengthLimit || options.width <= 0
                                                     ? unlimitedWidth
                                                      : static_cast<std::size_t>(options.width),
                                options.widthGiven ? "--width" : "the shared setting"};
        return TextWork{
            .how = WholeTextWork{wholeTextRewrapping(options.width)},
            .changeNote = [width](std::string_view) { return reflowChangeNote(ReflowMode::wrap, width); },
            .widthsNote = [width] { return widthsUsedNote({width}); }};
      }
      return sourceReflowWork(options, options.fill ? ReflowMode::fill : ReflowMode::wrap);
    },
    .checkFailureHint = [](const TextOptions& options) { return inPlaceFixHint("wrap", options); },
};

}  // namespace

Command wrapCommand() {
  return {"wrap", "re-flow comment paragraphs to a width",
          [](std::span<const std::string> args) { return runTextCommand(wrap, args); }};
}

}  // namespace brindlewort::cli
