#pragma once

// A spell checker for tests: flags every occurrence of the given words, or
// answers with fixed results, and remembers what it was asked.

#include <string>
#include <string_view>
#include <vector>

#include "proofreading/spell_checker.h"
#include "proofreading/utf16_characters.h"

namespace brindlewort::testing_support {

class FakeSpellChecker final : public SpellChecker {
 public:
  explicit FakeSpellChecker(std::vector<std::string> misspelt) : misspelt_(std::move(misspelt)) {}
  static FakeSpellChecker answering(std::vector<TextCheckingResult> results) {
    FakeSpellChecker fake({});
    fake.fixed_ = std::move(results);
    fake.useFixed_ = true;
    return fake;
  }

  std::vector<TextCheckingResult> check(std::string_view text) const override {
    asked.emplace_back(text);
    if (useFixed_) return fixed_;
    std::vector<TextCheckingResult> results;
    for (std::size_t at = 0; at < text.size(); ++at) {
      for (const std::string& word : misspelt_) {
        if (text.substr(at).starts_with(word)) {
          const auto start = toUtf16(text.substr(0, at)).length();
          results.push_back({spellingResultType, start, toUtf16(word).length()});
        }
      }
    }
    return results;
  }

  mutable std::vector<std::string> asked;

 private:
  std::vector<std::string> misspelt_;
  std::vector<TextCheckingResult> fixed_;
  bool useFixed_ = false;
};

}  // namespace brindlewort::testing_support
