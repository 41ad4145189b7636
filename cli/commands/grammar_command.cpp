#include "cli/commands/command_table.h"
#include "cli/core/text_command.h"
#include "proofreading/grammar_check.h"

namespace brindlewort::cli {
namespace {

TextWork grammarWork() {
  return {.how = LineChecks{
      .linesTransform = [](const std::vector<std::string_view>& lines) { return grammarCheckLines(lines); },
      .findings =
          [](std::string_view name, const std::vector<std::string_view>& lines, std::size_t first,
             std::string& report) {
            for (const PassiveVoiceFinding& f : passiveVoiceFindings(lines)) {
              report += findingLine(name, first + f.line, f.column,
                                    f.perfectTense ? "perfect tense" : "passive voice", f.text);
            }
          },
  }};
}

const TextCommand grammar{
    .name = "grammar",
    .description =
        "Adds a marker line with \"▲\" under each passive-voice or perfect-tense\n"
        "construction (\"is written\", \"were added\", \"have changed\") below every\n"
        "line that holds part of one, including constructions split across\n"
        "wrapped lines; nothing else changes. With --check, lists each as\n"
        "FILE:LINE:COLUMN: passive voice: \"is written\" (or perfect tense:\n"
        "\"have changed\") instead.",
    .setUp = [](const TextOptions&) -> Result<TextWork> { return grammarWork(); },
};

}  // namespace

Command grammarCommand() {
  return {"grammar", "mark passive-voice constructions in comments",
          [](std::span<const std::string> args) { return runTextCommand(grammar, args); }};
}

}  // namespace brindlewort::cli
