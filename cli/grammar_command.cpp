#include "cli/command_table.h"
#include "cli/messages.h"
#include "cli/proofreading_report.h"
#include "cli/text_command.h"
#include "proofreading/grammar_check.h"

namespace brindlewort::cli {
namespace {

constexpr std::string_view description =
    "Adds a marker line with \"▲\" under each passive-voice or perfect-tense\n"
    "construction (\"is written\", \"were added\", \"have changed\") below every\n"
    "line that holds part of one, including constructions split across\n"
    "wrapped lines; nothing else changes. With --check, lists each as\n"
    "FILE:LINE:COLUMN: passive voice: \"is written\" instead.";

int runGrammar(std::span<const std::string> args) {
  const ParsedTextOptions parsed = parseTextOptions(args, {}, 0);
  if (!parsed.error.empty()) return usageError(parsed.error, "grammar");

  const TextScope scope = parsed.options.scope;
  const TextCommand grammar{
      .name = "grammar",
      .description = description,
      .support = {},
      .linesTransform = [](const TextOptions&) -> LinesTransform {
        return [](const std::vector<std::string_view>& lines) { return grammarCheckLines(lines); };
      },
      .findings =
          [scope](std::string_view name, std::string_view original, std::string_view) {
            std::string report;
            forEachCheckedGroup(original, scope, [&](const std::vector<std::string>& lines,
                                                     std::size_t first) {
              for (const PassiveVoiceFinding& f : passiveVoiceFindings(lines)) {
                report += findingLine(name, first + f.line, f.column, "passive voice", f.text);
              }
            });
            return report;
          },
  };
  return runTextCommand(grammar, args);
}

}  // namespace

Command grammarCommand() {
  return {"grammar", "mark passive-voice constructions in comments", runGrammar};
}

}  // namespace brindlewort::cli
