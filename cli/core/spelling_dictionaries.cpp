#include "cli/core/spelling_dictionaries.h"

#include "proofreading/enchant_spell_checker.h"

namespace brindlewort::cli {

SpellingDictionaries::SpellingDictionaries(std::string language,
                                           std::shared_ptr<const SpellChecker> checker) {
  opened_.emplace(std::move(language), std::move(checker));
}

Result<std::shared_ptr<const SpellChecker>> SpellingDictionaries::forLanguage(const std::string& language) {
  std::lock_guard lock(mutex_);
  if (const auto found = opened_.find(language); found != opened_.end()) return found->second;
  Result<OpenedSpellChecker> opened = openEnchantSpellChecker(language);
  if (!opened) return Error{opened.error()};
  std::shared_ptr<const SpellChecker> checker = std::move(opened->checker);
  opened_.emplace(language, checker);
  return checker;
}

}  // namespace brindlewort::cli
