#include "cli/commands/command_table.h"
#include "cli/core/text_command.h"
#include "proofreading/grammar_check.h"

namespace brindlewort::cli {
namespace {

// The whole-text scope marks the bare pattern, as the workbench's check of
// a whole text always has; the comment-run scope reports the findings a
// maintainer acts on, of the kinds asked for.
TextWork grammarWork(const TextOptions& options) {
  const GrammarRules rules = options.grammarRules;
  if (options.scope == TextScope::wholeText) {
    return {.how = LineChecks{
        .linesTransform = [](const std::vector<std::string_view>& lines) { return grammarCheckLines(lines); },
        .findings =
            [rules](std::string_view name, const std::vector<std::string_view>& lines,
                    std::span<const CommentFacts>, std::size_t first, std::string& report) {
              for (const GrammarFinding& f : passiveVoiceFindings(lines)) {
                if (rules.reports(f.kind))
                  report += findingLine(name, first + f.line, f.column, grammarKindLabel(f.kind), f.text);
              }
            },
    }};
  }
  return {.how = LineChecks{
      .linesTransform = [rules](const std::vector<std::string_view>& lines) {
        return proofreadGrammarLines(lines, rules);
      },
      .findings =
          [rules](std::string_view name, const std::vector<std::string_view>& lines,
                  std::span<const CommentFacts> facts, std::size_t first, std::string& report) {
            for (const GrammarFinding& f : grammarFindings(lines, facts, rules)) {
              report += findingLine(name, first + f.line, f.column, grammarKindLabel(f.kind), f.text);
            }
          },
  }};
}

const TextCommand grammar{
    .name = "grammar",
    .description =
        "Adds a marker line with \"▲\" under each passive-voice construction\n"
        "(\"is written\", \"has been added\") and each word written twice (\"the\n"
        "the\") in the prose of comments, below every line that holds part of\n"
        "one, including constructions split across wrapped lines; nothing else\n"
        "changes. A construction ends at a whole past participle; code, code\n"
        "spans and tables are left alone. The perfect tense (\"have changed\")\n"
        "is found when --rules asks for it. With --check, lists each as\n"
        "FILE:LINE:COLUMN: passive voice: \"is written\" (or perfect tense:,\n"
        "repeated word:) instead.",
    .setUp = [](const TextOptions& options) -> Result<TextWork> { return grammarWork(options); },
};

}  // namespace

Command grammarCommand() {
  return {"grammar", "mark passive voice and repeated words in comments",
          [](std::span<const std::string> args) { return runTextCommand(grammar, args); }};
}

}  // namespace brindlewort::cli
