#include "cli/lsp/comment_findings.h"

#include <algorithm>
#include <mutex>

#include "cli/core/findings_report.h"
#include "cli/core/parallel_for.h"
#include "engine/characters.h"
#include "proofreading/comment_spelling.h"
#include "proofreading/grammar_check.h"

namespace brindlewort::cli::lsp {
namespace {

// The end of a finding's text on its line: the words of the text matched
// one by one, blanks between them as any run of blanks. A construction that
// goes on in the next line ends at this line's end.
std::size_t endOnLine(std::string_view line, std::size_t start, std::string_view text) {
  std::size_t at = start;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') {
      if (at >= line.size() || (line[at] != ' ' && line[at] != '\t'))
        return at >= line.size() ? line.size() : at;
      while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
      continue;
    }
    if (at >= line.size() || line[at] != text[i])
      return at >= line.size() ? line.size() : std::max(at, start + 1);
    ++at;
  }
  return at;
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
  }
  return "spelling";
}

std::vector<CommentFinding> commentFindings(std::string_view text, const SpellChecker* checker) {
  std::mutex mutex;
  std::vector<CommentFinding> findings;
  // The groups are the comment runs that --check hands to the same checks.
  const GroupFindings collect = [&](std::string_view, const std::vector<std::string_view>& lines,
                                    std::size_t firstLine, std::string&) {
    std::vector<CommentFinding> found;
    if (checker != nullptr) {
      for (const auto& [index, f] : commentSpellingFindings(lines, *checker)) {
        const std::string_view line = lines[index];
        const std::size_t start = byteOffsetAfterCharacters(line, static_cast<std::size_t>(f.column));
        found.push_back(
            {FindingKind::spelling, firstLine + index, line, start, endOnLine(line, start, f.word), f.word});
      }
    }
    for (const PassiveVoiceFinding& f : passiveVoiceFindings(lines)) {
      const std::string_view line = lines[f.line];
      const std::size_t start = byteOffsetAfterCharacters(line, static_cast<std::size_t>(f.column));
      found.push_back({f.perfectTense ? FindingKind::perfectTense : FindingKind::passiveVoice,
                       firstLine + f.line, line, start, endOnLine(line, start, f.text), f.text});
    }
    std::lock_guard lock(mutex);
    for (CommentFinding& finding : found) findings.push_back(std::move(finding));
  };
  findingsReport({}, text, TextScope::commentRuns, hardwareThreads(), collect);
  std::stable_sort(findings.begin(), findings.end(), [](const CommentFinding& a, const CommentFinding& b) {
    return a.line != b.line ? a.line < b.line : a.startByte < b.startByte;
  });
  return findings;
}

}  // namespace brindlewort::cli::lsp
