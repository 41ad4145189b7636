#pragma once

// Corrections for a misspelt word, as the editor's quick fixes offer them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brindlewort {

// Up to `limit` corrections that the Enchant dictionary for `language`
// offers, best first (empty language: the user's, falling back to en_US).
// None when no dictionary loads. The dictionary stays open for later calls.
std::vector<std::string> enchantSuggestions(std::string_view language, std::string_view word,
                                            std::size_t limit);

}  // namespace brindlewort
