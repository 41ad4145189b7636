#pragma once

// Corrections for a misspelt word, as the editor's quick fixes offer them.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

// The Enchant dictionaries that offer corrections, opened on first use and
// kept as long as their owner (the language server). Safe to use from
// several threads.
class SuggestionDictionaries {
 public:
  SuggestionDictionaries();
  ~SuggestionDictionaries();
  SuggestionDictionaries(const SuggestionDictionaries&) = delete;
  SuggestionDictionaries& operator=(const SuggestionDictionaries&) = delete;

  // Up to `limit` corrections that the dictionary for `language` offers,
  // best first (empty language: the user's, falling back to en_US). None
  // when no dictionary loads.
  std::vector<std::string> suggestions(std::string_view language, std::string_view word, std::size_t limit);

 private:
  struct Broker;
  std::unique_ptr<Broker> broker_;
};

}  // namespace brindlewort
