#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>

#include "cli/commands/command_table.h"
#include "cli/core/editor_config.h"
#include "cli/core/messages.h"
#include "cli/core/project_word_adding.h"
#include "cli/core/spelling_dictionaries.h"
#include "cli/core/text_command.h"
#include "proofreading/comment_spelling.h"
#include "proofreading/enchant_spell_checker.h"
#include "proofreading/info_log.h"
#include "proofreading/project_spelling.h"

namespace brindlewort::cli {
namespace {

std::mutex logMutex;

void printLogLine(std::string_view message) {
  std::string line(message);
  line += '\n';
  std::lock_guard lock(logMutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

int addWord(const std::string& word) {
  Result<std::filesystem::path> list = addProjectWord(word, std::filesystem::current_path());
  if (!list) {
    printError("spell: " + list.error());
    return exitFailure;
  }
  printOutput("added \"" + word + "\" to " + list->string() + "\n");
  return finishOutput() ? exitSuccess : exitFailure;
}

Result<TextWork> spellWork(const TextOptions& options) {
  if (!options.addWord.empty()) return TextWork{.how = Finished{addWord(options.addWord)}};
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker(options.language);
  // Reporting "no errors" here would be a lie: say why and touch nothing.
  if (!opened) return Error{"spell: " + opened.error() + "; nothing was checked"};
  auto dictionaries =
      std::make_shared<SpellingDictionaries>(options.language.empty() ? std::string() : opened->language,
                                     std::move(opened->checker));
  if (options.verbose) setInfoLogSink(printLogLine);
  const std::string chosen = options.language;
  // The repositories' vocabularies are read once for the whole run.
  auto vocabularies = std::make_shared<RepositoryVocabularies>();
  // Words of other scripts go to their own language's dictionary, if any.
  auto skipped = std::make_shared<std::atomic<std::size_t>>(0);
  std::function<std::string()> closingNote;
  if (options.verbose) {
    closingNote = [skipped] {
      const std::size_t count = *skipped;
      return count == 0 ? std::string()
                        : "spell: " + std::to_string(count) +
                              " words in a script without an installed dictionary were not checked";
    };
  }
  return TextWork{.how = PerFileChecks{
      .checksFor = [dictionaries, chosen, vocabularies, skipped](
                       std::string_view text, std::string_view path) -> Result<LineChecks> {
        // --lang, else the project's .editorconfig, else the user's.
        std::string language = chosen;
        if (language.empty()) language = editorConfigFor(path).spellingLanguage;
        Result<std::shared_ptr<const SpellChecker>> dictionary = dictionaries->forLanguage(language);
        if (!dictionary) return Error{dictionary.error() + "; not checked"};
        std::shared_ptr<const SpellChecker> checker =
            projectSpellChecker(dictionaries->withOtherScripts(*dictionary, skipped), path, text, *vocabularies);
        return LineChecks{
            .linesTransform =
                [checker](const std::vector<std::string_view>& lines) {
                  return spellCheckComments(lines, *checker);
                },
            .findings =
                [checker](std::string_view name, const std::vector<std::string_view>& lines,
                          std::span<const CommentFacts> facts, std::size_t first, std::string& report) {
                  for (const auto& [line, f] : commentSpellingFindings(lines, facts, *checker)) {
                    report += findingLine(name, first + line, f.column, "spelling", f.word);
                  }
                },
            .runTransform =
                [checker](const std::vector<std::string_view>& lines, std::span<const CommentFacts> facts) {
                  return spellCheckComments(lines, facts, *checker);
                },
        };
      },
  }, .closingNote = closingNote};
}

const TextCommand spell{
    .name = "spell",
    .description =
        "Adds a marker line with \"▲\" under the misspelt words of each comment\n"
        "line, directly below it; nothing else changes. With --check, lists each\n"
        "misspelt word as FILE:LINE:COLUMN: spelling: \"word\" instead.\n"
        "Words that the code of the file's repository uses (parts of its\n"
        "identifiers), general software terms and the words of the project's\n"
        ".brindle-words are accepted. Identifiers, abbreviations, URLs, e-mail\n"
        "addresses, paths, numbers, text in backticks and code inside comments\n"
        "(fenced and indented blocks, commented-out code, directives) are not\n"
        "checked. The language is --lang, else spelling_language from\n"
        ".editorconfig, else the user's.",
    .setUp = spellWork,
    .checkFailureHint =
        [](const TextOptions&) {
          return std::string("correct the words listed, or accept one for this project: brindle spell --add-word WORD");
        },
};

}  // namespace

Command spellCommand() {
  return {"spell", "mark misspelt words in comments",
          [](std::span<const std::string> args) { return runTextCommand(spell, args); }};
}

}  // namespace brindlewort::cli
