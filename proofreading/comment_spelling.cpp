#include "proofreading/comment_spelling.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "engine/comment_detection.h"
#include "reflow/comment_line_parts.h"
#include "reflow/comment_run_walker.h"
#include "reflow/comment_structure.h"
#include "reflow/run_parts.h"
#include "reflow/source_language.h"

namespace brindlewort {
namespace {

// A comment line that the spelling check's own rule, made for "//" lines,
// does not read ("# text", " * text", "/** text", "-- text"): the same text
// behind a "//" marker, which the check reads, and what to put back.
struct AsSlashLine {
  std::string line;          // "// " and the text
  std::string markerPrefix;  // what opens its marker line instead of "// "
  std::int64_t shift = 0;    // columns from the line's own text start to the stand-in's
  bool markable = true;      // a marker line may follow it
};

// Whether a byte may be part of a marker or a block's decoration: ASCII
// punctuation that does not open a word of its own.
bool isMarkerByte(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return byte > ' ' && byte < 0x7F && !std::isalnum(byte) && std::string_view("([{\"'`<@\\$_").find(ch) == std::string_view::npos;
}

// The line marker the spelling check reads, and a blank.
std::string slashPrefix() { return std::string(slashComments.lineMarker) + " "; }

std::optional<AsSlashLine> asSlashLine(std::string_view line) {
  const std::optional<std::string_view> prefix = commentPrefix(line);
  if (prefix && prefix->find_first_not_of(' ') != std::string_view::npos) return std::nullopt;
  std::size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  const std::size_t lead = at;
  while (at < line.size() && at - lead < 4 && isMarkerByte(line[at])) ++at;
  const std::size_t markerEnd = at;
  // Without a marker or a decoration the line may be code: the callers
  // that pass whole texts rely on code lines being passed over.
  if (markerEnd == lead) return std::nullopt;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  if (at == line.size()) return std::nullopt;
  AsSlashLine rewritten;
  rewritten.line = slashPrefix() + std::string(line.substr(at));
  rewritten.shift = static_cast<std::int64_t>(at) - static_cast<std::int64_t>(slashPrefix().size());
  const std::string_view own = line.substr(0, at);
  const std::string_view marker = line.substr(lead, markerEnd - lead);
  const CommentSyntax& block = slashComments;
  if (marker.starts_with(block.blockOpen)) {
    // Under a block's first line the marker line takes its decoration.
    rewritten.markerPrefix = std::string(line.substr(0, lead)) + " " + block.blockDecoration;
    rewritten.markerPrefix.resize(std::max(own.size(), rewritten.markerPrefix.size() + 1), ' ');
  } else {
    rewritten.markerPrefix = std::string(own);
  }
  // A marker line after a block's closer would stand outside the comment.
  std::string_view trimmed = line;
  while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) trimmed.remove_suffix(1);
  rewritten.markable = !trimmed.ends_with(block.blockClose);
  return rewritten;
}

// The marker line of a comment line, whatever its marker.
std::optional<std::string> markerLineOf(std::string_view line, const SpellChecker& checker) {
  const std::optional<AsSlashLine> rewritten = asSlashLine(line);
  if (!rewritten) return spellingMarkerLine(line, checker);
  if (!rewritten->markable) return std::nullopt;
  std::optional<std::string> marker = spellingMarkerLine(rewritten->line, checker);
  const std::string stand = slashPrefix();
  if (!marker || !marker->starts_with(stand)) return std::nullopt;
  return rewritten->markerPrefix + marker->substr(stand.size());
}

// The misspelt words of a comment line, whatever its marker.
std::vector<SpellingFinding> findingsOf(std::string_view line, const SpellChecker& checker) {
  const std::optional<AsSlashLine> rewritten = asSlashLine(line);
  if (!rewritten) return spellingFindings(line, checker);
  std::vector<SpellingFinding> found = spellingFindings(rewritten->line, checker);
  for (SpellingFinding& finding : found) finding.column += rewritten->shift;
  return found;
}

bool isProseKind(LineKind kind) {
  switch (kind) {
    case LineKind::fence:
    case LineKind::code:
    case LineKind::directive:
    case LineKind::nested:
    case LineKind::switchedOff:
      return false;
    case LineKind::prose:
    case LineKind::blank:
    case LineKind::table:
    case LineKind::separator:
    case LineKind::heading:
    case LineKind::kept:
      return true;
  }
  return true;
}

// Tables and separators hold cells, not sentences.
bool isSentenceKind(LineKind kind) {
  return isProseKind(kind) && kind != LineKind::table && kind != LineKind::separator;
}

// A line the analysis could only call prose: one blank after the marker,
// and text of words and sentence punctuation only; nothing that opens code,
// a fence, a table, a heading, a directive's switch or a nested comment.
bool isPlainProse(const CommentLine& line) {
  if (line.hasNoText()) return true;
  if (line.textOffset != 1) return false;
  const std::string_view text = line.text();
  if (text.starts_with("```") || text.find("brindle:") != std::string_view::npos) return false;
  static constexpr auto plain = [] {
    std::array<bool, 256> table{};
    for (unsigned c = 0; c < 256; ++c) {
      table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 0x80;
    }
    for (const char c : std::string_view(" ,.'\"-!?:()`")) table[static_cast<unsigned char>(c)] = true;
    return table;
  }();
  return std::all_of(text.begin(), text.end(), [](char c) { return plain[static_cast<unsigned char>(c)]; });
}

// With `plainRunsAreProse`, a run of plain prose lines is taken as prose
// without analysing it: the grammar check's shortcut, since most comments
// are such runs and the analysis is most of its work.
template <typename KindTest>
std::vector<bool> linesOfKinds(const std::vector<std::string_view>& lines, KindTest isChecked,
                               bool plainRunsAreProse = false) {
  std::vector<bool> checked(lines.size(), true);
  // A doc item's continuation indented deeper than its text ("- Parameter
  // x: ..." then "    more text") is prose, as wrapping reads it.
  RunContext context;
  context.deeperLinesContinue = true;
  std::vector<CommentLine> run;
  std::size_t i = 0;
  while (i < lines.size()) {
    if (!isCommentRunLine(lines[i])) {
      ++i;
      continue;
    }
    // A run is analysed as the re-flow analyses it: lines with the same
    // indentation and marker.
    const std::size_t first = i;
    run.assign(1, splitCommentLine(lines[i]));
    for (++i; i < lines.size() && isCommentRunLine(lines[i]); ++i) {
      CommentLine next = splitCommentLine(lines[i]);
      if (next.lead != run.front().lead || next.marker != run.front().marker) break;
      run.push_back(next);
    }
    if (plainRunsAreProse && !context.switchedOff && std::all_of(run.begin(), run.end(), isPlainProse)) continue;
    const RunStructure structure = analyseRun(run, context);
    for (std::size_t k = 0; k < run.size(); ++k) checked[first + k] = isChecked(structure.kinds[k]);
  }
  return checked;
}

}  // namespace

std::vector<bool> spellCheckedLines(const std::vector<std::string_view>& lines) {
  return linesOfKinds(lines, isProseKind);
}

std::vector<bool> grammarCheckedLines(const std::vector<std::string_view>& lines) {
  return linesOfKinds(lines, isSentenceKind, true);
}

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The letters before a hyphen that ends the line's comment text ("hodge-"),
// or empty.
std::string_view hyphenatedTail(std::string_view line) {
  std::string_view text = splitCommentLine(line).text();
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  if (text.size() < 2 || text.back() != '-') return {};
  std::size_t start = text.size() - 1;
  while (start > 0 && isAsciiLetter(text[start - 1])) --start;
  return text.substr(start, text.size() - 1 - start);
}

// The letters that open the line's comment text ("podge"), or empty.
std::string_view leadingLetters(std::string_view line) {
  const std::string_view text = splitCommentLine(line).text();
  std::size_t end = 0;
  while (end < text.size() && isAsciiLetter(text[end])) ++end;
  return text.substr(0, end);
}

// The checker for one line of a comment whose neighbours may hold the
// other half of a word hyphenated at the line break ("hodge-" / "podge"):
// a half is no misspelling when the whole word is none.
class LineBreakHyphenChecker final : public SpellChecker {
 public:
  LineBreakHyphenChecker(const SpellChecker& checker, std::string_view before, std::string_view after)
      : checker_(checker), before_(before), after_(after) {}

  std::vector<TextCheckingResult> check(std::string_view text) const override {
    std::vector<TextCheckingResult> results = checker_.check(text);
    if (results.empty() || (before_.empty() && after_.empty())) return results;
    std::erase_if(results, [&](const TextCheckingResult& r) {
      if (r.start < 0 || r.length <= 0 || static_cast<std::size_t>(r.start + r.length) > text.size()) return false;
      const std::string_view word = text.substr(static_cast<std::size_t>(r.start), static_cast<std::size_t>(r.length));
      const std::string_view rest = text.substr(static_cast<std::size_t>(r.start + r.length));
      const bool opens = text.substr(0, static_cast<std::size_t>(r.start)).find_first_not_of(" \t") ==
                         std::string_view::npos;
      if (!before_.empty() && opens && wholeWordIsRight(before_, word)) return true;
      const bool endsWithHyphen = rest.starts_with('-') && rest.substr(1).find_first_not_of(" \t\r") == std::string_view::npos;
      return !after_.empty() && endsWithHyphen && wholeWordIsRight(word, after_);
    });
    return results;
  }

 private:
  bool wholeWordIsRight(std::string_view first, std::string_view second) const {
    const std::string joined = std::string(first) + std::string(second);
    const std::string hyphenated = std::string(first) + "-" + std::string(second);
    return checker_.check(joined).empty() || checker_.check(hyphenated).empty();
  }

  const SpellChecker& checker_;
  std::string_view before_;
  std::string_view after_;
};

// The checker for line i: the plain one unless a neighbouring checked line
// continues a hyphenated word.
template <typename Use>
auto withNeighbours(const std::vector<std::string_view>& lines, const std::vector<bool>& checked, std::size_t i,
                    const SpellChecker& checker, Use use) {
  const std::string_view before = i > 0 && checked[i - 1] ? hyphenatedTail(lines[i - 1]) : std::string_view();
  const bool nextChecked = i + 1 < lines.size() && checked[i + 1];
  const std::string_view after =
      nextChecked && !hyphenatedTail(lines[i]).empty() ? leadingLetters(lines[i + 1]) : std::string_view();
  if (before.empty() && after.empty()) return use(checker);
  const LineBreakHyphenChecker joined(checker, before, after);
  return use(joined);
}

template <typename Line>
std::vector<std::string> checkAll(const std::vector<Line>& lines, const SpellChecker& checker) {
  std::vector<std::string_view> views(lines.begin(), lines.end());
  const std::vector<bool> checked = spellCheckedLines(views);
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.emplace_back(lines[i]);
    if (!checked[i]) continue;
    auto marker = withNeighbours(views, checked, i, checker,
                                 [&](const SpellChecker& c) { return markerLineOf(views[i], c); });
    if (marker) out.push_back(std::move(*marker));
  }
  return out;
}

}  // namespace

std::vector<std::string> spellCheckComments(const std::vector<std::string_view>& lines,
                                            const SpellChecker& checker) {
  return checkAll(lines, checker);
}

std::vector<std::string> spellCheckComments(const std::vector<std::string>& lines,
                                            const SpellChecker& checker) {
  return checkAll(lines, checker);
}

std::vector<std::pair<std::size_t, SpellingFinding>> commentSpellingFindings(
    const std::vector<std::string_view>& lines, const SpellChecker& checker) {
  const std::vector<bool> checked = spellCheckedLines(lines);
  std::vector<std::pair<std::size_t, SpellingFinding>> findings;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!checked[i]) continue;
    auto found = withNeighbours(lines, checked, i, checker,
                                [&](const SpellChecker& c) { return findingsOf(lines[i], c); });
    for (SpellingFinding& f : found) findings.emplace_back(i, std::move(f));
  }
  return findings;
}

namespace {

// A comment run taken apart by the lexer's facts, with the lines the
// spelling check reads.
struct FactRun {
  std::vector<CommentLine> parts;
  std::vector<bool> checked;
};

// A line comment behind "//" is read as it always was, inside a block
// comment too ("/*" above "// text"), where it is text kept as a line.
bool isSlashLine(std::string_view line, const CommentFacts& facts) {
  if (facts.role == CommentRole::wholeLine)
    return facts.markerAt < line.size() && line.substr(facts.markerAt).starts_with(slashComments.lineMarker);
  return facts.inBlock() && startsWithLineComment(line);
}

// Structure is analysed as the re-flow analyses a run: in stretches of one
// lead and marker, a block's first line with the lines below it.
FactRun factRun(const std::vector<std::string_view>& lines, std::span<const CommentFacts> facts) {
  FactRun run;
  run.parts.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool slash = facts[i].role != CommentRole::wholeLine && isSlashLine(lines[i], facts[i]);
    run.parts.push_back(slash ? splitCommentLine(lines[i]) : splitCommentLine(lines[i], facts[i]));
  }
  run.checked.assign(lines.size(), true);
  if (lines.empty()) return run;
  std::vector<CommentLine>& parts = run.parts;
  RunContext context;
  context.deeperLinesContinue = true;
  std::vector<CommentLine> part;
  forEachPartOfRun(parts, [&](std::size_t start, std::size_t stop) {
    part.assign(parts.begin() + static_cast<std::ptrdiff_t>(start), parts.begin() + static_cast<std::ptrdiff_t>(stop));
    const RunStructure structure = analyseRun(part, context);
    for (std::size_t k = 0; k < part.size(); ++k) run.checked[start + k] = isProseKind(structure.kinds[k]);
  });
  return run;
}

// The bytes of a line up to its text: what a marker line under it repeats.
std::size_t textStart(const CommentLine& parts) {
  return parts.lead.size() + parts.marker.size() + parts.textOffset;
}

// The line's text behind a "//" marker, which the check reads.
std::string standIn(const CommentLine& parts) {
  std::string line = slashPrefix();
  line += parts.body.substr(parts.textOffset);
  return line;
}

// What opens a marker line under the line, or nothing when none may follow
// it: after a block's closer it would stand in the code.
std::optional<std::string> markerPrefixOf(const CommentLine& parts, const CommentFacts& facts) {
  if (!parts.closer.empty()) return std::nullopt;
  const std::size_t width = textStart(parts);
  if (facts.role == CommentRole::blockOpener) {
    // Under a block's first line the marker line takes the decoration of
    // the lines below, or blanks when they have none.
    std::string prefix(parts.lead);
    if (facts.decoration != 0 && facts.decorated) {
      prefix += ' ';
      prefix += facts.decoration;
    }
    prefix.resize(std::max(width, prefix.size() + 1), ' ');
    return prefix;
  }
  return std::string(parts.line.substr(0, width));
}

std::vector<SpellingFinding> factFindingsOf(const CommentLine& parts, const CommentFacts& facts,
                                            const SpellChecker& checker) {
  if (isSlashLine(parts.line, facts)) return findingsOf(parts.line, checker);
  if (parts.hasNoText()) return {};
  std::vector<SpellingFinding> found = spellingFindings(standIn(parts), checker);
  const auto shift = static_cast<std::int64_t>(textStart(parts)) - static_cast<std::int64_t>(slashPrefix().size());
  for (SpellingFinding& finding : found) finding.column += shift;
  return found;
}

std::optional<std::string> factMarkerLineOf(const CommentLine& parts, const CommentFacts& facts,
                                            const SpellChecker& checker) {
  if (isSlashLine(parts.line, facts)) return markerLineOf(parts.line, checker);
  if (parts.hasNoText()) return std::nullopt;
  const std::optional<std::string> prefix = markerPrefixOf(parts, facts);
  if (!prefix) return std::nullopt;
  std::optional<std::string> marker = spellingMarkerLine(standIn(parts), checker);
  const std::string stand = slashPrefix();
  if (!marker || !marker->starts_with(stand)) return std::nullopt;
  return *prefix + marker->substr(stand.size());
}

// The checker for line i of a run taken apart, as withNeighbours.
template <typename Use>
auto withFactNeighbours(const FactRun& run, std::size_t i, const SpellChecker& checker, Use use) {
  auto tail = [&](std::size_t k) {
    std::string_view text = run.parts[k].text();
    if (text.size() < 2 || text.back() != '-') return std::string_view();
    std::size_t start = text.size() - 1;
    while (start > 0 && isAsciiLetter(text[start - 1])) --start;
    return text.substr(start, text.size() - 1 - start);
  };
  auto head = [&](std::size_t k) {
    const std::string_view text = run.parts[k].text();
    std::size_t end = 0;
    while (end < text.size() && isAsciiLetter(text[end])) ++end;
    return text.substr(0, end);
  };
  const std::string_view before = i > 0 && run.checked[i - 1] ? tail(i - 1) : std::string_view();
  const bool nextChecked = i + 1 < run.parts.size() && run.checked[i + 1];
  const std::string_view after = nextChecked && !tail(i).empty() ? head(i + 1) : std::string_view();
  if (before.empty() && after.empty()) return use(checker);
  const LineBreakHyphenChecker joined(checker, before, after);
  return use(joined);
}

}  // namespace

std::vector<std::pair<std::size_t, SpellingFinding>> commentSpellingFindings(
    const std::vector<std::string_view>& lines, std::span<const CommentFacts> facts, const SpellChecker& checker) {
  if (facts.size() != lines.size()) return commentSpellingFindings(lines, checker);
  const FactRun run = factRun(lines, facts);
  std::vector<std::pair<std::size_t, SpellingFinding>> findings;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!run.checked[i]) continue;
    auto found = withFactNeighbours(run, i, checker, [&](const SpellChecker& c) {
      return factFindingsOf(run.parts[i], facts[i], c);
    });
    for (SpellingFinding& f : found) findings.emplace_back(i, std::move(f));
  }
  return findings;
}

std::vector<std::string> spellCheckComments(const std::vector<std::string_view>& lines,
                                            std::span<const CommentFacts> facts, const SpellChecker& checker) {
  if (facts.size() != lines.size()) return spellCheckComments(lines, checker);
  const FactRun run = factRun(lines, facts);
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.emplace_back(lines[i]);
    if (!run.checked[i]) continue;
    auto marker = withFactNeighbours(run, i, checker, [&](const SpellChecker& c) {
      return factMarkerLineOf(run.parts[i], facts[i], c);
    });
    if (marker) out.push_back(std::move(*marker));
  }
  return out;
}

}  // namespace brindlewort
