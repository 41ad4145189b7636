#include "cli/core/findings_report.h"

#include <algorithm>

#include "cli/core/parallel_for.h"
#include "engine/rewrap.h"
#include "reflow/comment_run_walker.h"
#include "reflow/source_file_reflow.h"

namespace brindlewort::cli {

std::string findingsReport(std::string_view displayName, std::string_view text, const CommentMap& comments,
                           TextScope scope, unsigned threads, const GroupFindings& findings) {
  if (scope == TextScope::wholeText) {
    std::string report;
    findings(displayName, splitLineViews(text), {}, 0, report);
    return report;
  }
  // The same pieces as the transform's.
  const std::vector<TextPiece> cuts = piecesBetweenRuns(text, comments, threads);
  const std::size_t pieces = cuts.size() - 1;
  std::vector<std::string> reports(pieces);
  parallelFor(pieces, threads, [&](std::size_t i) {
    const auto from = comments.begin() + static_cast<std::ptrdiff_t>(cuts[i].firstLine);
    const auto to = comments.begin() + static_cast<std::ptrdiff_t>(cuts[i + 1].firstLine);
    CommentRunWalker walker(text.substr(cuts[i].begin, cuts[i + 1].begin - cuts[i].begin),
                            std::span<const CommentFacts>(from, to), cuts[i].firstLine);
    while (const CommentRun* run = walker.next()) {
      findings(displayName, run->lines, run->facts, run->firstLine, reports[i]);
    }
  });
  if (pieces == 1) return std::move(reports.front());
  std::size_t total = 0;
  for (const std::string& report : reports) total += report.size();
  std::string report;
  report.reserve(total);
  for (const std::string& piece : reports) report += piece;
  return report;
}

std::string findingLine(std::string_view file, std::size_t line, std::int64_t column,
                        std::string_view kind, std::string_view text) {
  std::string out(file);
  out += ':' + std::to_string(line + 1) + ':' + std::to_string(column + 1) + ": ";
  out += kind;
  out += ": \"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += "\"\n";
  return out;
}

}  // namespace brindlewort::cli
