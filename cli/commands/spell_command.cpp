#include <cstdio>
#include <memory>
#include <mutex>

#include "cli/commands/command_table.h"
#include "cli/core/messages.h"
#include "cli/core/proofreading_options.h"
#include "cli/core/text_command.h"
#include "proofreading/enchant_spell_checker.h"
#include "proofreading/info_log.h"
#include "proofreading/spell_check.h"

namespace brindlewort::cli {
namespace {

constexpr std::string_view description =
    "Adds a marker line with \"▲\" under the misspelt words of each comment\n"
    "line, directly below it; nothing else changes. With --check, lists each\n"
    "misspelt word as FILE:LINE:COLUMN: spelling: \"word\" instead.\n"
    "Identifiers, abbreviations, URLs, e-mail addresses, paths, numbers and\n"
    "text in backticks are not checked.\n"
    "\n"
    "      --lang LANG   dictionary language, such as en_GB (default: the\n"
    "                    language of LC_ALL, LC_MESSAGES or LANG, else en_US)\n"
    "      --verbose     log each checked line with findings to standard error";

std::mutex logMutex;

void printLogLine(std::string_view message) {
  std::string line(message);
  line += '\n';
  std::lock_guard lock(logMutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

int runSpell(std::span<const std::string> args) {
  ProofreadingOptions own = takeProofreadingOptions(args, true, true);
  if (!own.error.empty()) return usageError(own.error, "spell");
  const ParsedTextOptions parsed = parseTextOptions(own.rest, {}, 0);
  if (!parsed.error.empty()) return usageError(parsed.error, "spell");

  std::shared_ptr<const SpellChecker> checker;
  if (!parsed.options.help) {
    SpellCheckerOpening opening = openEnchantSpellChecker(own.language);
    if (!opening.checker) {
      // Reporting "no errors" here would be a lie: say why and touch nothing.
      printError("spell: " + opening.error + "; nothing was checked");
      return exitFailure;
    }
    checker = std::move(opening.checker);
  }
  if (own.verbose) setInfoLogSink(printLogLine);

  const TextCommand spell{
      .name = "spell",
      .description = description,
      .support = {},
      .linesTransform = [checker](const TextOptions&) -> LinesTransform {
        return [checker](const std::vector<std::string_view>& lines) {
          return spellCheckLines(lines, *checker);
        };
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
  return runTextCommand(spell, own.rest);
}

}  // namespace

Command spellCommand() { return {"spell", "mark misspelt words in comments", runSpell}; }

}  // namespace brindlewort::cli
