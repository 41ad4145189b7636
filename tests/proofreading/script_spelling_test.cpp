// Words of other scripts, with stub checkers: no installed dictionary is
// needed, and none decides the outcome.

#include "proofreading/script_spelling.h"

#include <gtest/gtest.h>

#include "fake_spell_checker.h"

namespace brindlewort {
namespace {

using testing_support::FakeSpellChecker;

TEST(ScriptSpelling, LanguageOfEachScript) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"word", ""},      {"naïve", ""},        {"слово", "ru"}, {"λόγος", "el"}, {"שלום", "he"},
      {"სიტყვა", "ka"},  {"漢字", "none"},       {"ひらがな", "none"}, {"'слово", "ru"}, {"123", ""},
  };
  for (const auto& [word, language] : cases) EXPECT_EQ(dictionaryLanguageOfWord(word), language) << word;
}

TEST(ScriptSpelling, OtherScriptsGoToTheirOwnDictionaryOrAreSkipped) {
  // The English stub flags every word below; the Russian one only "слвоо".
  auto english = std::make_shared<FakeSpellChecker>(
      std::vector<std::string>{"wrod", "слово", "слвоо", "שלום", "漢字", "სიტყვა"});
  auto russian = std::make_shared<FakeSpellChecker>(std::vector<std::string>{"слвоо"});
  const DictionaryFinder find = [&](const std::string& language) -> std::shared_ptr<const SpellChecker> {
    return language == "ru" ? russian : nullptr;
  };
  const struct {
    const char* text;
    std::vector<std::string> flagged;
    std::size_t skipped;
  } cases[] = {
      {"a wrod here", {"wrod"}, 0},
      {"слово and слвоо", {"слвоо"}, 0},
      {"שלום 漢字 სიტყვა wrod", {"wrod"}, 3},
  };
  for (const auto& c : cases) {
    auto skipped = std::make_shared<std::atomic<std::size_t>>(0);
    const ScriptAwareSpellChecker checker(english, find, skipped);
    const std::string text = c.text;
    const icu::UnicodeString units = toUtf16(text);
    std::vector<std::string> flagged;
    for (const TextCheckingResult& r : checker.check(text)) flagged.push_back(utf8Slice(units, r.start, r.length));
    EXPECT_EQ(flagged, c.flagged) << c.text;
    EXPECT_EQ(*skipped, c.skipped) << c.text;
  }
}

}  // namespace
}  // namespace brindlewort
