#pragma once

// Grammar marker lines and findings, found in the joined paragraph text so
// that a construction split across wrapped lines is still found. Two
// searches: the bare passive-voice pattern, exactly as the workbench's
// whole-text check has always marked it, and the one the user-facing checks
// report, which ends every construction at a whole past participle, reads
// only prose and also finds repeated words.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "proofreading/grammar_rules.h"
#include "reflow/comment_facts.h"

namespace brindlewort {

inline constexpr char passiveVoicePattern[] =
    R"(\b((be(en)?)|(have)|(w(as|ere))|(is)|(a(re|m)))\s+(\S+(en|ed))+)";

// Every line, each followed by a marker line under the passive-voice
// constructions that touch it.
std::vector<std::string> grammarCheckLines(const std::vector<std::string>& lines);
std::vector<std::string> grammarCheckLines(const std::vector<std::string_view>& lines);

// One construction: the line it starts on (0-based), its column there
// (0-based, in characters) and its text with white space runs as one space,
// up to the end of its last word (the pattern's marker line may stop inside
// it).
struct GrammarFinding {
  std::size_t line = 0;
  std::int64_t column = 0;
  std::string text;
  GrammarKind kind = GrammarKind::passiveVoice;
  friend bool operator==(const GrammarFinding&, const GrammarFinding&) = default;
};

// The constructions that grammarCheckLines marks, in text order; those with
// "have" are the perfect tense.
std::vector<GrammarFinding> passiveVoiceFindings(const std::vector<std::string>& lines);
std::vector<GrammarFinding> passiveVoiceFindings(const std::vector<std::string_view>& lines);

// Like grammarCheckLines, with the constructions of the kinds `rules`
// reports in the prose of comments (grammarCheckedLines): each ends at a
// whole past participle ("have been added" is one passive construction),
// and words written twice are found as well.
std::vector<std::string> proofreadGrammarLines(const std::vector<std::string>& lines, const GrammarRules& rules);
std::vector<std::string> proofreadGrammarLines(const std::vector<std::string_view>& lines,
                                               const GrammarRules& rules);

// The constructions that proofreadGrammarLines marks, in text order.
std::vector<GrammarFinding> grammarFindings(const std::vector<std::string>& lines, const GrammarRules& rules);
std::vector<GrammarFinding> grammarFindings(const std::vector<std::string_view>& lines, const GrammarRules& rules);

// The same for one comment run, each line taken apart by the lexer's facts
// for it (one per line): block and doc comment lines, "#" and other
// markers are read as "//" lines are, so that a paragraph joins across
// their decoration. Without facts, as above.
std::vector<GrammarFinding> grammarFindings(const std::vector<std::string_view>& lines,
                                            std::span<const CommentFacts> facts, const GrammarRules& rules);

}  // namespace brindlewort
