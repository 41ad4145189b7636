#pragma once

// Whether a word is a verb's past participle, as a reader of a grammar
// finding expects: "written", "added", "built", but not "then", "often",
// "token", "need" or "hundred", which merely end the same way.

#include <string_view>

namespace brindlewort {

// `word` is one whole word in lower case ASCII letters; anything else is
// not a participle. A hyphenated word ("auto-generated") counts by its
// last part.
bool isPastParticiple(std::string_view word);

}  // namespace brindlewort
