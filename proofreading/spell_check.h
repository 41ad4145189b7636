#pragma once

// Spelling marker lines: under each comment line with misspelt words, a line
// with "▲" under every misspelt character and a " ← TYPO?" note.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "proofreading/spell_checker.h"

namespace brindlewort {

// The marker line for one source line, or nothing when the line is not
// checked or has no error to mark. Owned strings and slices alike.
std::optional<std::string> spellingMarkerLine(std::string_view line, const SpellChecker& checker);

// Every line, each followed by its marker line when it has one.
std::vector<std::string> spellCheckLines(const std::vector<std::string>& lines,
                                         const SpellChecker& checker);

// Builds a marker line from error ranges (start, length) in UTF-16 units of
// the checked text; nothing when no range could be placed.
std::optional<std::string> buildTypoMarker(
    const std::vector<std::pair<std::int64_t, std::int64_t>>& ranges,
    std::string_view commentPrefix, std::string_view line);

}  // namespace brindlewort
