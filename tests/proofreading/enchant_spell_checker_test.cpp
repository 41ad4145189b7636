#include "proofreading/enchant_spell_checker.h"

#include <gtest/gtest.h>

#include <thread>

#include "proofreading/spell_checker.h"

// The real Enchant broker with the installed en_US dictionary; the test
// environment keeps a personal word list out.

namespace brindlewort {
namespace {

class EnchantSpellChecker : public testing::Test {
 protected:
  void SetUp() override {
    Result<OpenedSpellChecker> opened = openEnchantSpellChecker("en_US");
    ASSERT_TRUE(opened) << opened.error();
    checker_ = std::move(opened->checker);
  }
  const SpellChecker& checker() const { return *checker_; }

  std::unique_ptr<SpellChecker> checker_;
};

// The two-typo example runs end to end through brindle; which words count as
// code is tested on its own. Here: contractions with either apostrophe, and
// ranges in UTF-16 units.
TEST_F(EnchantSpellChecker, AcceptsContractionsAndSkipsCode) {
  EXPECT_EQ(checker().check("Don't touch the user's `frobnicte()`; it doesn\u2019t matter, HTTPServer."),
            std::vector<TextCheckingResult>{});
  EXPECT_EQ(checker().check("😀 words Thsi"), (std::vector<TextCheckingResult>{{spellingResultType, 9, 4}}));
}

TEST_F(EnchantSpellChecker, SharedByThreads) {
  std::vector<std::thread> threads;
  std::vector<std::size_t> counts(4);
  for (std::size_t t = 0; t < counts.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) counts[t] += checker().check("word" + std::to_string(i % 7) + " Thsi wrds").size();
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counts, std::vector<std::size_t>(4, 400));
}

TEST(EnchantSpellCheckerOpening, FallsBackToAmericanEnglish) {
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  const Result<OpenedSpellChecker> opened = openEnchantSpellChecker();
  ASSERT_TRUE(opened) << opened.error();
  EXPECT_EQ(opened->language, "en_US");
}

}  // namespace
}  // namespace brindlewort
