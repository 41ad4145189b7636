#pragma once

// Two words written as one, as comments about code often write them
// ("hittesting", "workbuffer", "pagedown", "bytestream"). Such a word is no
// misspelling a maintainer would mend, unless it is one slip from a real
// word: "forground" splits into "for" and "ground" but is "foreground"
// with a letter left out.

#include <string_view>

#include "proofreading/slip_neighbours.h"

namespace brindlewort {

// Whether `word` (letters only, its first perhaps a capital) is two words
// run together, with no known word one slip from it. A part is a word of
// the code or of a list (`isListed`, three letters or more) or of the
// dictionary (`isInDictionary`, five letters or more: short dictionary
// words such as "ions", "ire" or "urn" end too many misspellings).
// `slipsFromKnownWord` tells whether a known word is one slip from the
// word in lower case (slip_neighbours.h).
bool isRunTogetherWords(std::string_view word, const KnowsWord& isListed, const KnowsWord& isInDictionary,
                        const KnowsWord& slipsFromKnownWord);

}  // namespace brindlewort
