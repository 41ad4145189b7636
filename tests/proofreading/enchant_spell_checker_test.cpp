// The real Enchant broker with the installed en_US dictionary, and the
// language it is opened for; the test environment keeps a personal word
// list out.

#include "proofreading/enchant_spell_checker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "proofreading/spell_checker.h"
#include "proofreading/spelling_language.h"

namespace brindlewort {
namespace {

// The two-typo example runs end to end through brindle; which words count as
// code is tested on its own. Here: one checker shared by threads from the
// start, contractions with either apostrophe, and ranges in UTF-16 units.
TEST(EnchantSpellChecker, AcceptsContractionsAndIsSharedByThreads) {
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker("en_US");
  ASSERT_TRUE(opened) << opened.error();
  const SpellChecker& checker = *opened->checker;
  std::vector<std::thread> threads;
  std::vector<std::size_t> counts(4);
  for (std::size_t t = 0; t < counts.size(); ++t) {
    threads.emplace_back([&, t] {  // the threads meet on a new word each time
      for (int i = 0; i < 100; ++i) {
        const std::string word{'z', 'q', static_cast<char>('a' + i / 10), static_cast<char>('a' + i % 10)};
        counts[t] += checker.check("Thsi wrds " + word).size();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counts, std::vector<std::size_t>(4, 300));
  EXPECT_EQ(checker.check("Don't touch the user's `frobnicte()`; it doesn\u2019t matter, HTTPServer."),
            std::vector<TextCheckingResult>{});
  EXPECT_EQ(checker.check("😀 words Thsi"), (std::vector<TextCheckingResult>{{spellingResultType, 9, 4}}));
}

// A prefix before a hyphen is a word of its compound; a misspelt part of a
// compound is still found.
TEST(EnchantSpellChecker, PartsOfHyphenatedWords) {
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker("en_US");
  ASSERT_TRUE(opened) << opened.error();
  const SpellChecker& checker = *opened->checker;
  const struct {
    const char* text;
    std::vector<std::string> flagged;
  } cases[] = {
      {"un-escaped re-run non-null hodge-podge pre-allocated co-owner", {}},
      {"unn-escaped re-runn nonn-null", {"unn", "runn", "nonn"}},
      {"un escaped", {"un"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> flagged;
    const std::string text = c.text;
    for (const TextCheckingResult& r : checker.check(text))
      flagged.push_back(text.substr(static_cast<std::size_t>(r.start), static_cast<std::size_t>(r.length)));
    EXPECT_EQ(flagged, c.flagged) << c.text;
  }
}

TEST(SpellingLanguage, FromLocaleDropsEncodingAndModifier) {
  const std::pair<const char*, const char*> cases[] = {
      {"de_DE.UTF-8", "de_DE"}, {"en_GB", "en_GB"}, {"fr_FR@euro", "fr_FR"}, {"pt_BR.utf8@x", "pt_BR"},
      {"C", ""},                {"C.UTF-8", ""},    {"POSIX", ""},           {"", ""}};
  for (const auto& [locale, expected] : cases) EXPECT_EQ(spellingLanguageFromLocale(locale), expected) << locale;
}

// The first variable set decides; a language without a dictionary falls
// back to American English.
TEST(SpellingLanguage, FromTheEnvironmentAndFallingBack) {
  setenv("LANG", "fr_FR.UTF-8", 1);
  setenv("LC_MESSAGES", "", 1);
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(userSpellingLanguage(), "fr_FR");
  setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
  EXPECT_EQ(userSpellingLanguage(), "de_DE");
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(userSpellingLanguage(), "");
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  const Result<OpenedSpellChecker> opened = openEnchantSpellChecker();
  ASSERT_TRUE(opened) << opened.error();
  EXPECT_EQ(opened->language, "en_US");
}

}  // namespace
}  // namespace brindlewort
