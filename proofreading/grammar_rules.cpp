#include "proofreading/grammar_rules.h"

#include <array>

namespace brindlewort {
namespace {

constexpr std::array allKinds{GrammarKind::passiveVoice, GrammarKind::perfectTense, GrammarKind::repeatedWord};

bool& switchFor(GrammarRules& rules, GrammarKind kind) {
  switch (kind) {
    case GrammarKind::passiveVoice:
      return rules.passiveVoice;
    case GrammarKind::perfectTense:
      return rules.perfectTense;
    case GrammarKind::repeatedWord:
      return rules.repeatedWords;
  }
  return rules.passiveVoice;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

bool GrammarRules::reports(GrammarKind kind) const {
  GrammarRules copy = *this;
  return switchFor(copy, kind);
}

std::string_view grammarRuleName(GrammarKind kind) {
  switch (kind) {
    case GrammarKind::passiveVoice:
      return "passive";
    case GrammarKind::perfectTense:
      return "perfect";
    case GrammarKind::repeatedWord:
      return "repeated";
  }
  return "passive";
}

std::string_view grammarKindLabel(GrammarKind kind) {
  switch (kind) {
    case GrammarKind::passiveVoice:
      return "passive voice";
    case GrammarKind::perfectTense:
      return "perfect tense";
    case GrammarKind::repeatedWord:
      return "repeated word";
  }
  return "passive voice";
}

std::optional<GrammarRules> parseGrammarRules(std::string_view list) {
  GrammarRules rules{false, false, false};
  list = trimmed(list);
  if (list == "none") return rules;
  if (list == "all") return GrammarRules{true, true, true};
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view name = trimmed(list.substr(0, comma));
    bool known = false;
    for (const GrammarKind kind : allKinds) {
      if (name == grammarRuleName(kind)) {
        switchFor(rules, kind) = true;
        known = true;
      }
    }
    if (!known) return std::nullopt;
    if (comma == std::string_view::npos) return rules;
    list.remove_prefix(comma + 1);
  }
}

std::string grammarRulesText(const GrammarRules& rules) {
  std::string text;
  for (const GrammarKind kind : allKinds) {
    if (!rules.reports(kind)) continue;
    if (!text.empty()) text += ',';
    text += grammarRuleName(kind);
  }
  return text.empty() ? "none" : text;
}

}  // namespace brindlewort
