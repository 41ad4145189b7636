#include "cli/lsp/comment_findings.h"

#include <algorithm>
#include <mutex>

#include "base/space_or_tab.h"
#include "cli/core/findings_report.h"
#include "cli/core/parallel_for.h"
#include "cli/core/text_transform.h"
#include "engine/characters.h"
#include "proofreading/comment_spelling.h"
#include "proofreading/grammar_check.h"
#include "reflow/comment_line_parts.h"
#include "reflow/source_file_reflow.h"

namespace brindlewort::cli::lsp {
namespace {

struct FindingEnd {
  std::size_t index = 0;  // of the line in its comment run
  std::size_t byte = 0;
};


// Where the prose of a comment line starts: after the indentation, the
// marker and the blanks that follow it.
std::size_t proseStart(std::string_view line) {
  const CommentLine parts = splitCommentLine(line);
  return parts.lead.size() + parts.marker.size() + parts.textOffset;
}

// The end of a finding's text: its words matched one by one from `start`,
// blanks between them as any run of blanks, and a line end between them as
// the comment marker of the next line. Ends after the last character that
// matched, so the underline never covers more than the finding.
FindingEnd findingEnd(const std::vector<std::string_view>& lines, std::size_t index, std::size_t start,
                      std::string_view text) {
  FindingEnd matched{index, std::min(start + 1, lines[index].size())};
  std::size_t at = start;
  for (const char c : text) {
    std::string_view line = lines[index];
    if (c == ' ') {
      if (at < line.size() && !isSpaceOrTab(line[at])) break;
      while (at < line.size() && isSpaceOrTab(line[at])) ++at;
      if (at == line.size() && index + 1 < lines.size()) {
        ++index;
        at = proseStart(lines[index]);
      }
      continue;
    }
    if (at >= line.size() || line[at] != c) break;
    matched = {index, ++at};
  }
  return matched;
}

CommentFinding located(FindingKind kind, const std::vector<std::string_view>& lines, std::size_t firstLine,
                       std::size_t index, std::size_t start, const std::string& text) {
  const FindingEnd end = findingEnd(lines, index, start, text);
  return {kind, firstLine + index, lines[index], start, firstLine + end.index, lines[end.index], end.byte, text};
}

FindingKind findingKind(GrammarKind kind) {
  switch (kind) {
    case GrammarKind::passiveVoice:
      return FindingKind::passiveVoice;
    case GrammarKind::perfectTense:
      return FindingKind::perfectTense;
    case GrammarKind::repeatedWord:
      return FindingKind::repeatedWord;
  }
  return FindingKind::passiveVoice;
}

}  // namespace

std::string_view findingLabel(FindingKind kind) {
  switch (kind) {
    case FindingKind::spelling:
      return "spelling";
    case FindingKind::passiveVoice:
      return "passive voice";
    case FindingKind::perfectTense:
      return "perfect tense";
    case FindingKind::repeatedWord:
      return "repeated word";
  }
  return "spelling";
}

std::vector<CommentFinding> commentFindings(std::string_view text, std::string_view path,
                                            const SpellChecker* checker, std::string_view editorName,
                                            const GrammarRules& rules) {
  std::mutex mutex;
  std::vector<CommentFinding> findings;
  // The groups are the comment runs that --check hands to the same checks.
  const GroupFindings collect = [&](std::string_view, const std::vector<std::string_view>& lines,
                                    std::span<const CommentFacts> facts, std::size_t firstLine, std::string&) {
    std::vector<CommentFinding> found;
    if (checker != nullptr) {
      for (const auto& [index, f] : commentSpellingFindings(lines, facts, *checker)) {
        const std::size_t start = byteOffsetAfterCharacters(lines[index], static_cast<std::size_t>(f.column));
        found.push_back(located(FindingKind::spelling, lines, firstLine, index, start, f.word));
      }
    }
    for (const GrammarFinding& f : grammarFindings(lines, facts, rules)) {
      const std::size_t start = byteOffsetAfterCharacters(lines[f.line], static_cast<std::size_t>(f.column));
      found.push_back(located(findingKind(f.kind), lines, firstLine, f.line, start, f.text));
    }
    std::lock_guard lock(mutex);
    for (CommentFinding& finding : found) findings.push_back(std::move(finding));
  };
  const unsigned threads = hardwareThreads();
  const CommentMap comments =
      lexCommentsInParallel(text, commentLanguageOf(path, text, editorName).language,
                            {threads, parallelRunner(threads)});
  findingsReport({}, text, comments, TextScope::commentRuns, threads, collect);
  std::stable_sort(findings.begin(), findings.end(), [](const CommentFinding& a, const CommentFinding& b) {
    return a.line != b.line ? a.line < b.line : a.startByte < b.startByte;
  });
  return findings;
}

}  // namespace brindlewort::cli::lsp
