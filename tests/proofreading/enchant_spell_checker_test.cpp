#include "proofreading/enchant_spell_checker.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "proofreading/spell_check.h"

// These run the real Enchant broker with the en_US Hunspell dictionary that
// the install script provides; a personal word list is kept out of the way
// by the test environment.

namespace brindlewort {
namespace {

class EnchantSpellChecker : public testing::Test {
 protected:
  void SetUp() override {
    opening_ = openEnchantSpellChecker("en_US");
    ASSERT_TRUE(opening_.checker) << opening_.error;
  }
  const SpellChecker& checker() const { return *opening_.checker; }

  SpellCheckerOpening opening_;
};

TEST_F(EnchantSpellChecker, MarksTheWorkedExample) {
  EXPECT_EQ(checker().check("Thsi is a smple"),
            (std::vector<TextCheckingResult>{{spellingResultType, 0, 4},
                                             {spellingResultType, 10, 5}}));
  EXPECT_EQ(spellCheckLines(std::vector<std::string>{"    // Thsi is a smple", "int x = 1; // Thsi"},
                            checker()),
            (std::vector<std::string>{"    // Thsi is a smple", "    // ▲▲▲▲      ▲▲▲▲▲ ← TYPOS?",
                                      "int x = 1; // Thsi"}));
}

TEST_F(EnchantSpellChecker, AcceptsProseAndCodeOfProgrammers) {
  const char* clean[] = {
      "Don't touch the user's settings; it doesn\u2019t matter.",
      "Call `frobnicte()` with camelCase, snake_case, utf8 or an HTTPServer.",
      "See https://exmple.org/pth or write to jon@exmple.org about /usr/lcal/bin.",
      "The mask 0xFFFF and NASA and the file config.yml are fine.",
  };
  for (const char* text : clean) EXPECT_TRUE(checker().check(text).empty()) << text;
}

TEST_F(EnchantSpellChecker, RangesCountUtf16Units) {
  EXPECT_EQ(checker().check("😀 words Thsi"),
            (std::vector<TextCheckingResult>{{spellingResultType, 9, 4}}));
}

TEST_F(EnchantSpellChecker, SharedByThreads) {
  std::vector<std::thread> threads;
  std::vector<std::size_t> counts(4);
  for (std::size_t t = 0; t < counts.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        counts[t] += checker().check("word" + std::to_string(i % 7) + " Thsi wrds smple " +
                                     std::string(1, static_cast<char>('a' + i % 26)) + "qx")
                         .size();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const std::size_t count : counts) EXPECT_EQ(count, 800u);
}

TEST(EnchantSpellCheckerOpening, NamesTheLanguageThatFailed) {
  const SpellCheckerOpening opening = openEnchantSpellChecker("xx_NOWHERE");
  EXPECT_FALSE(opening.checker);
  EXPECT_NE(opening.error.find("xx_NOWHERE"), std::string::npos) << opening.error;
}

TEST(EnchantSpellCheckerOpening, FallsBackToAmericanEnglish) {
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  const SpellCheckerOpening opening = openEnchantSpellChecker();
  ASSERT_TRUE(opening.checker) << opening.error;
  EXPECT_EQ(opening.language, "en_US");
}

}  // namespace
}  // namespace brindlewort
