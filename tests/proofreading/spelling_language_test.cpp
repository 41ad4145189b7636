#include "proofreading/spelling_language.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace brindlewort {
namespace {

TEST(SpellingLanguageFromLocale, DropsEncodingAndModifier) {
  const std::pair<const char*, const char*> cases[] = {
      {"de_DE.UTF-8", "de_DE"}, {"en_GB", "en_GB"}, {"fr_FR@euro", "fr_FR"}, {"pt_BR.utf8@x", "pt_BR"},
      {"C", ""},                {"C.UTF-8", ""},    {"POSIX", ""},           {"", ""}};
  for (const auto& [locale, expected] : cases) {
    EXPECT_EQ(spellingLanguageFromLocale(locale), expected) << locale;
  }
}

TEST(UserSpellingLanguage, FirstSetVariableDecides) {
  setenv("LANG", "fr_FR.UTF-8", 1);
  setenv("LC_MESSAGES", "", 1);
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(userSpellingLanguage(), "fr_FR");
  setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
  EXPECT_EQ(userSpellingLanguage(), "de_DE");
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(userSpellingLanguage(), "");
}

}  // namespace
}  // namespace brindlewort
