#pragma once

// The kinds of grammar finding and which of them a check reports.

#include <optional>
#include <string>
#include <string_view>

namespace brindlewort {

enum class GrammarKind { passiveVoice, perfectTense, repeatedWord };

// Perfect tense is plain good English in a comment ("has changed"), so it
// is off unless asked for; the passive voice is what the check is for, and
// a repeated word is nearly always a slip.
struct GrammarRules {
  bool passiveVoice = true;
  bool perfectTense = false;
  bool repeatedWords = true;

  bool reports(GrammarKind kind) const;
  friend bool operator==(const GrammarRules&, const GrammarRules&) = default;
};

// The name a rule list spells the kind with: "passive", "perfect",
// "repeated".
std::string_view grammarRuleName(GrammarKind kind);

// What a finding line calls the kind: "passive voice", "perfect tense",
// "repeated word".
std::string_view grammarKindLabel(GrammarKind kind);

// A comma-separated list of rule names, "all" or "none": exactly the kinds
// listed. Absent when a name is unknown.
std::optional<GrammarRules> parseGrammarRules(std::string_view list);

// The rule names of the rules' kinds, comma-separated ("none" for none).
std::string grammarRulesText(const GrammarRules& rules);

}  // namespace brindlewort
