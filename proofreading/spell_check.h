#pragma once

// Spelling marker lines: under each comment line with misspelt words, a line
// with "▲" under every misspelt character and a " ← TYPO?" note.

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "proofreading/spell_checker.h"

namespace brindlewort {

// Owned strings and slices alike can be spell-checked.
template <typename T>
concept SpellCheckable = std::convertible_to<const T&, std::string_view>;

// The marker line for one source line, or nothing when the line is not
// checked or has no error to mark. Owned strings and slices alike.
std::optional<std::string> spellingMarkerLine(std::string_view line, const SpellChecker& checker);

template <SpellCheckable T>
std::optional<std::string> spellingMarkerLine(const T& line, const SpellChecker& checker) {
  return spellingMarkerLine(std::string_view(line), checker);
}

// Every line, each followed by its marker line when it has one.
std::vector<std::string> spellCheckLines(const std::vector<std::string>& lines,
                                         const SpellChecker& checker);
std::vector<std::string> spellCheckLines(const std::vector<std::string_view>& lines,
                                         const SpellChecker& checker);

// Builds a marker line from error ranges (start, length) in UTF-16 units of
// the checked text; nothing when no range could be placed.
std::optional<std::string> buildTypoMarker(
    const std::vector<std::pair<std::int64_t, std::int64_t>>& ranges,
    std::string_view commentPrefix, std::string_view line);

// One misspelt word of a line: where it starts (0-based, in characters of
// the line) and the word itself.
struct SpellingFinding {
  std::int64_t column = 0;
  std::string word;
  friend bool operator==(const SpellingFinding&, const SpellingFinding&) = default;
};

// The words that the line's marker line marks, in the checker's order.
std::vector<SpellingFinding> spellingFindings(std::string_view line, const SpellChecker& checker);

}  // namespace brindlewort
