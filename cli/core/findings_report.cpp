#include "cli/core/findings_report.h"

#include <algorithm>

#include "cli/core/parallel_for.h"
#include "engine/rewrap.h"
#include "reflow/comment_runs.h"
#include "reflow/cuts_between_runs.h"

namespace brindlewort::cli {

std::string findingsReport(std::string_view displayName, std::string_view text, TextScope scope,
                           unsigned threads, const GroupFindings& findings) {
  if (scope == TextScope::wholeText) {
    std::string report;
    findings(displayName, splitLineViews(text), 0, report);
    return report;
  }
  // The same pieces as the transform's; each starts on a line whose number
  // is the count of line feeds before it.
  const std::vector<std::size_t> cuts = cutsBetweenRuns(text, threads);
  const std::size_t pieces = cuts.size() - 1;
  std::vector<std::size_t> firstLines(pieces, 0);
  for (std::size_t i = 1; i < pieces; ++i) {
    firstLines[i] = firstLines[i - 1] + static_cast<std::size_t>(std::count(
                                            text.begin() + static_cast<std::ptrdiff_t>(cuts[i - 1]),
                                            text.begin() + static_cast<std::ptrdiff_t>(cuts[i]), '\n'));
  }
  std::vector<std::string> reports(pieces);
  parallelFor(pieces, threads, [&](std::size_t i) {
    CommentRunWalker walker(text.substr(cuts[i], cuts[i + 1] - cuts[i]), 0, firstLines[i]);
    while (const CommentRun* run = walker.next()) {
      findings(displayName, run->lines, run->firstLine, reports[i]);
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
