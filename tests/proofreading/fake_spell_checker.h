#pragma once

// A spell checker for tests: flags every occurrence of the given words, or
// answers with fixed results, and remembers what it was asked.

#include <optional>
#include <string>
#include <vector>

#include "proofreading/spell_checker.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort::testing_support {

class FakeSpellChecker final : public SpellChecker {
 public:
  explicit FakeSpellChecker(std::vector<std::string> misspelt,
                            std::optional<std::vector<TextCheckingResult>> fixed = {})
      : misspelt_(std::move(misspelt)), fixed_(std::move(fixed)) {}

  std::vector<TextCheckingResult> check(std::string_view text) const override {
    asked.emplace_back(text);
    if (fixed_) return *fixed_;
    std::vector<TextCheckingResult> results;
    for (std::size_t at = 0; at < text.size(); ++at) {
      for (const std::string& word : misspelt_) {
        if (text.substr(at).starts_with(word)) {
          results.push_back({spellingResultType, toUtf16(text.substr(0, at)).length(), toUtf16(word).length()});
        }
      }
    }
    return results;
  }

  mutable std::vector<std::string> asked;

 private:
  std::vector<std::string> misspelt_;
  std::optional<std::vector<TextCheckingResult>> fixed_;
};

}  // namespace brindlewort::testing_support
