#pragma once

// The Enchant dictionaries of a run, opened once per language and shared by
// every text that asks for one (brindle spell's files, the language
// server's documents).

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "base/result.h"
#include "proofreading/spell_checker.h"

namespace brindlewort::cli {

class SpellingDictionaries {
 public:
  // Starts with the dictionary already opened for `language` (empty: the
  // user's language).
  SpellingDictionaries(std::string language, std::shared_ptr<const SpellChecker> checker);

  // The dictionary for a language, opened on first use; empty: the user's.
  // Safe to call from several threads at once.
  Result<std::shared_ptr<const SpellChecker>> forLanguage(const std::string& language);

 private:
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const SpellChecker>, std::less<>> opened_;
};

}  // namespace brindlewort::cli
