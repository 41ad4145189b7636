#include "proofreading/comment_spelling.h"

#include "reflow/comment_line_parts.h"
#include "reflow/comment_run_walker.h"
#include "reflow/comment_structure.h"

namespace brindlewort {
namespace {

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

template <typename KindTest>
std::vector<bool> linesOfKinds(const std::vector<std::string_view>& lines, KindTest isChecked) {
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
  return linesOfKinds(lines, isSentenceKind);
}

namespace {

template <typename Line>
std::vector<std::string> checkAll(const std::vector<Line>& lines, const SpellChecker& checker) {
  std::vector<std::string_view> views(lines.begin(), lines.end());
  const std::vector<bool> checked = spellCheckedLines(views);
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.emplace_back(lines[i]);
    if (!checked[i]) continue;
    if (auto marker = spellingMarkerLine(views[i], checker)) out.push_back(std::move(*marker));
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
    for (SpellingFinding& f : spellingFindings(lines[i], checker)) findings.emplace_back(i, std::move(f));
  }
  return findings;
}

}  // namespace brindlewort
