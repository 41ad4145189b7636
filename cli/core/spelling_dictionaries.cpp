#include "cli/core/spelling_dictionaries.h"

#include <filesystem>

#include "proofreading/enchant_spell_checker.h"
#include "proofreading/script_spelling.h"

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

std::shared_ptr<const SpellChecker> SpellingDictionaries::installedFor(const std::string& language) {
  bool installed = false;
  {
    std::lock_guard lock(installedMutex_);
    if (const auto known = installed_.find(language); known != installed_.end()) {
      installed = known->second;
    } else {
      std::error_code error;
      for (const auto& entry : std::filesystem::directory_iterator("/usr/share/hunspell", error)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".dic") && (name.starts_with(language + "_") || name == language + ".dic"))
          installed = true;
      }
      installed_.emplace(language, installed);
    }
  }
  if (!installed) return nullptr;
  Result<std::shared_ptr<const SpellChecker>> found = forLanguage(language);
  return found ? *found : nullptr;
}

std::shared_ptr<const SpellChecker> SpellingDictionaries::withOtherScripts(
    std::shared_ptr<const SpellChecker> main, std::shared_ptr<std::atomic<std::size_t>> skipped) {
  return std::make_shared<const ScriptAwareSpellChecker>(
      std::move(main), [this](const std::string& language) { return installedFor(language); }, std::move(skipped));
}

}  // namespace brindlewort::cli
