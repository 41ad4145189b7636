#pragma once

// The Enchant dictionaries of a run, opened once per language and shared by
// every text that asks for one (brindle spell's files, the language
// server's documents).

#include <atomic>
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

  // The dictionary for a language such as "ru" when a Hunspell dictionary
  // for it is installed, else null. Enchant's other providers are not asked:
  // one that lacks its files fills standard error.
  std::shared_ptr<const SpellChecker> installedFor(const std::string& language);

  // The spell checker for a text: `main`, with words of other scripts given
  // to their own installed dictionaries (else skipped and counted in
  // `skipped`, which may be null).
  std::shared_ptr<const SpellChecker> withOtherScripts(std::shared_ptr<const SpellChecker> main,
                                                       std::shared_ptr<std::atomic<std::size_t>> skipped);

 private:
  std::mutex installedMutex_;
  std::map<std::string, bool, std::less<>> installed_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const SpellChecker>, std::less<>> opened_;
};

}  // namespace brindlewort::cli
