#pragma once

// Most misspellings are one slip of the hand from the word meant: a letter
// left out, added or changed, or two neighbours swapped ("forground",
// "exchaged", "eventutally"). A word that looks like a term of its own is
// still a misspelling when a known word lies one slip away.

#include <functional>
#include <string_view>

namespace brindlewort {

// Whether the word is known to the dictionary or a list of accepted words.
using KnowsWord = std::function<bool(std::string_view)>;

// Whether a known word of five letters or more is one slip from `lower` (a
// lower-case ASCII word). Asks `knows` about some 54 words per letter.
bool hasKnownNeighbour(std::string_view lower, const KnowsWord& knows);

}  // namespace brindlewort
