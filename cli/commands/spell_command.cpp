#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>

#include "cli/commands/command_table.h"
#include "cli/core/atomic_write.h"
#include "cli/core/editor_config.h"
#include "cli/core/messages.h"
#include "cli/core/text_command.h"
#include "proofreading/comment_spelling.h"
#include "proofreading/enchant_spell_checker.h"
#include "proofreading/info_log.h"
#include "proofreading/program_output.h"
#include "proofreading/project_spelling.h"
#include "proofreading/project_word_list.h"

namespace brindlewort::cli {
namespace {

namespace fs = std::filesystem;

std::mutex logMutex;

void printLogLine(std::string_view message) {
  std::string line(message);
  line += '\n';
  std::lock_guard lock(logMutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
}

// The dictionaries of a run, opened once each and shared by every file
// that asks for one.
class Dictionaries {
 public:
  Dictionaries(std::string language, std::shared_ptr<const SpellChecker> checker) {
    opened_.emplace(std::move(language), std::move(checker));
  }

  Result<std::shared_ptr<const SpellChecker>> forLanguage(const std::string& language) {
    std::lock_guard lock(mutex_);
    if (const auto found = opened_.find(language); found != opened_.end()) return found->second;
    Result<OpenedSpellChecker> opened = openEnchantSpellChecker(language);
    if (!opened) return Error{opened.error()};
    std::shared_ptr<const SpellChecker> checker = std::move(opened->checker);
    opened_.emplace(language, checker);
    return checker;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const SpellChecker>, std::less<>> opened_;
};

// The project list that --add-word writes: the nearest one above the
// current folder, else a new one at the root of its git work tree, else in
// the current folder.
fs::path listForNewWords() {
  if (std::optional<fs::path> list = findProjectWordList(fs::current_path())) return *list;
  if (Result<std::string> top = programOutput({"git", "rev-parse", "--show-toplevel"}); top && !top->empty()) {
    while (!top->empty() && top->back() == '\n') top->pop_back();
    return fs::path(*top) / projectWordListName;
  }
  return fs::current_path() / projectWordListName;
}

int addWord(const std::string& word) {
  if (Result<void> usable = checkListWord(word); !usable) {
    printError("spell: cannot add \"" + word + "\": " + usable.error());
    return exitFailure;
  }
  std::error_code error;
  const fs::path list = listForNewWords();
  std::string text;
  if (fs::exists(list, error)) {
    std::ifstream in(list, std::ios::binary);
    if (!in) {
      printError("spell: cannot read " + list.string());
      return exitFailure;
    }
    std::ostringstream content;
    content << in.rdbuf();
    text = std::move(content).str();
  } else {
    // The atomic write replaces a file; a new list starts empty.
    const int fd = ::open(list.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) {
      printError("spell: cannot create " + list.string());
      return exitFailure;
    }
    if (fd >= 0) ::close(fd);
  }
  const std::string updated = withWordAdded(text, word);
  if (updated != text) {
    if (Result<void> written = writeFileAtomically(list.string(), updated); !written) {
      printError("spell: " + list.string() + ": " + written.error());
      return exitFailure;
    }
  }
  printOutput("added \"" + word + "\" to " + list.string() + "\n");
  return finishOutput() ? exitSuccess : exitFailure;
}

Result<TextWork> spellWork(const TextOptions& options) {
  if (!options.addWord.empty()) return TextWork{.finished = addWord(options.addWord)};
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker(options.language);
  // Reporting "no errors" here would be a lie: say why and touch nothing.
  if (!opened) return Error{"spell: " + opened.error() + "; nothing was checked"};
  auto dictionaries =
      std::make_shared<Dictionaries>(options.language.empty() ? std::string() : opened->language,
                                     std::move(opened->checker));
  if (options.verbose) setInfoLogSink(printLogLine);
  const std::string chosen = options.language;
  return TextWork{
      .checksForFile = [dictionaries, chosen](std::string_view text,
                                              std::string_view path) -> Result<FileChecks> {
        // --lang, else the project's .editorconfig, else the user's.
        std::string language = chosen;
        if (language.empty()) language = editorConfigFor(path).spellingLanguage;
        Result<std::shared_ptr<const SpellChecker>> dictionary = dictionaries->forLanguage(language);
        if (!dictionary) return Error{dictionary.error() + "; not checked"};
        std::shared_ptr<const SpellChecker> checker = projectSpellChecker(*dictionary, path, text);
        return FileChecks{
            .linesTransform =
                [checker](const std::vector<std::string_view>& lines) {
                  return spellCheckComments(lines, *checker);
                },
            .findings =
                [checker](std::string_view name, const std::vector<std::string_view>& lines,
                          std::size_t first, std::string& report) {
                  for (const auto& [line, f] : commentSpellingFindings(lines, *checker)) {
                    report += findingLine(name, first + line, f.column, "spelling", f.word);
                  }
                },
        };
      },
  };
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
