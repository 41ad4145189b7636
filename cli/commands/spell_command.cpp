#include <cstdio>
#include <memory>
#include <mutex>

#include "cli/commands/command_table.h"
#include "cli/core/text_command.h"
#include "proofreading/enchant_spell_checker.h"
#include "proofreading/info_log.h"
#include "proofreading/spell_check.h"

namespace brindlewort::cli {
namespace {

std::mutex logMutex;

void printLogLine(std::string_view message) {
  std::string line(message);
  line += '\n';
  std::lock_guard lock(logMutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

Result<TextWork> spellWork(const TextOptions& options) {
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker(options.language);
  // Reporting "no errors" here would be a lie: say why and touch nothing.
  if (!opened) return Error{"spell: " + opened.error() + "; nothing was checked"};
  std::shared_ptr<const SpellChecker> checker = std::move(opened->checker);
  if (options.verbose) setInfoLogSink(printLogLine);
  return TextWork{
      .linesTransform =
          [checker](const std::vector<std::string_view>& lines) {
            return spellCheckLines(lines, *checker);
          },
      .findings =
          [checker](std::string_view name, const std::vector<std::string_view>& lines,
                    std::size_t first, std::string& report) {
            for (std::size_t i = 0; i < lines.size(); ++i) {
              for (const SpellingFinding& f : spellingFindings(lines[i], *checker)) {
                report += findingLine(name, first + i, f.column, "spelling", f.word);
              }
            }
          },
  };
}

const TextCommand spell{
    .name = "spell",
    .description =
        "Adds a marker line with \"▲\" under the misspelt words of each comment\n"
        "line, directly below it; nothing else changes. With --check, lists each\n"
        "misspelt word as FILE:LINE:COLUMN: spelling: \"word\" instead.\n"
        "Identifiers, abbreviations, URLs, e-mail addresses, paths, numbers and\n"
        "text in backticks are not checked.",
    .setUp = spellWork,
};

}  // namespace

Command spellCommand() {
  return {"spell", "mark misspelt words in comments",
          [](std::span<const std::string> args) { return runTextCommand(spell, args); }};
}

}  // namespace brindlewort::cli
