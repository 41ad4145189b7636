#pragma once

// Words in a script an English dictionary does not cover (Cyrillic, Greek,
// Hebrew, Georgian, CJK, ...) are not English misspellings: they are asked
// of a dictionary for their script when one is installed, else left alone
// and counted.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "proofreading/spell_checker.h"

namespace brindlewort {

// The language whose dictionary judges words of the script the word's first
// letter belongs to: "" for Latin (the main dictionary's), "none" for a
// script without a usual spelling dictionary (CJK), else a language such as
// "ru" or "he".
std::string_view dictionaryLanguageOfWord(std::string_view word);

// The dictionary for a language, or null when none is installed.
using DictionaryFinder = std::function<std::shared_ptr<const SpellChecker>(const std::string& language)>;

// `main`'s findings, with each word of another script judged by the
// dictionary `find` gives for its language instead; when there is none,
// the word is dropped and counted in `skipped`.
class ScriptAwareSpellChecker final : public SpellChecker {
 public:
  ScriptAwareSpellChecker(std::shared_ptr<const SpellChecker> main, DictionaryFinder find,
                          std::shared_ptr<std::atomic<std::size_t>> skipped);
  std::vector<TextCheckingResult> check(std::string_view text) const override;
  bool knowsWordOneSlipFrom(std::string_view lower) const override { return main_->knowsWordOneSlipFrom(lower); }

 private:
  std::shared_ptr<const SpellChecker> main_;
  DictionaryFinder find_;
  std::shared_ptr<std::atomic<std::size_t>> skipped_;
};

}  // namespace brindlewort
