#pragma once

// The grammar findings a maintainer acts on, found word by word in a
// joined paragraph text: a form of "be" before a whole past participle
// ("is written", "has been added", "is automatically generated"), a form
// of "have" before one ("has changed"), and a word written twice ("the
// the"). Unlike the bare pattern it never stops inside a word, and words
// in backticks are code, not prose.

#include <cstdint>
#include <string_view>
#include <vector>

#include "proofreading/grammar_rules.h"

namespace brindlewort {

struct GrammarMatch {
  std::int64_t start = 0;  // bytes of the text
  std::int64_t end = 0;
  GrammarKind kind = GrammarKind::passiveVoice;
  friend bool operator==(const GrammarMatch&, const GrammarMatch&) = default;
};

// The constructions of the kinds `rules` reports, left to right and without
// overlap. A construction stays within one line of the text: its words are
// separated by blanks only (spaces and tabs), as a joined paragraph's are.
std::vector<GrammarMatch> grammarConstructions(std::string_view text, const GrammarRules& rules);

}  // namespace brindlewort
