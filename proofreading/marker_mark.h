#pragma once

// What marker lines are made of, shared by the checks that write them and
// the tools that read them back.

#include <string_view>

namespace brindlewort {

// Placed under every marked character.
inline constexpr std::string_view markerMark = "▲";
// Ends a spelling marker line with one misspelt word, or with several.
inline constexpr std::string_view typoNote = " ← TYPO?";
inline constexpr std::string_view typosNote = " ← TYPOS?";

}  // namespace brindlewort
