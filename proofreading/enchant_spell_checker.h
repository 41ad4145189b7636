#pragma once

// The system spell checker: an Enchant-2 dictionary in the user's language,
// with the user's personal word list, asked one distinct word at a time.
// For English, a word that any installed English dictionary (en_US, en_GB,
// en_CA, en_AU) knows is right.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "proofreading/spell_checker.h"

namespace brindlewort {

// The fallback when the user's language has no dictionary.
inline constexpr std::string_view fallbackSpellingLanguage = "en_US";

// The dictionaries to try, in order, for `language`: the language alone when
// it is named, else the user's language, then the fallback.
std::vector<std::string> spellingLanguagesToTry(std::string_view language);

struct OpenedSpellChecker {
  std::unique_ptr<SpellChecker> checker;
  std::string language;  // the language of the loaded dictionary
};

// Opens the dictionary for `language`; when it is empty, the user's
// language (LC_ALL, LC_MESSAGES, LANG) falling back to en_US. A language
// named explicitly has no fallback. The checker may be shared by threads.
Result<OpenedSpellChecker> openEnchantSpellChecker(std::string_view language = {});

}  // namespace brindlewort
