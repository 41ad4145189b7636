#include "reflow/comment_run_rewriting.h"

#include "reflow/comment_run_walker.h"

namespace brindlewort {

std::string transformCommentRuns(std::string_view text, std::span<const CommentFacts> comments,
                                const LinesTransform& transform) {
  return transformCommentRuns(text, comments,
                              [&](const std::vector<std::string_view>& lines, std::span<const CommentFacts>) {
                                return transform(lines);
                              });
}

std::string transformCommentRuns(std::string_view text, std::span<const CommentFacts> comments,
                                const RunLinesTransform& transform) {
  std::string result;
  // Marker lines can add a good part to a text; pages reserved but never
  // written cost nothing, while growing would copy everything so far.
  result.reserve(text.size() + text.size() / 4);
  std::size_t copied = 0;
  CommentRunWalker walker(text, comments);
  while (const CommentRun* run = walker.next()) {
    result.append(text.substr(copied, run->begin - copied));
    copied = run->end;
    std::string_view runEnd = run->firstLineEnd;
    if (runEnd.empty()) {
      // A one-line run that closes the text: new lines it gets end like the
      // line before it.
      const bool crlf = run->begin >= 2 && text[run->begin - 2] == '\r';
      runEnd = crlf ? "\r\n" : "\n";
    }
    // A run that closes the text without a line end stays without one.
    const bool endsText = lineEndAfter(text, run->lines.back()).empty();
    const std::vector<std::string> output = transform(run->lines, run->facts);
    for (std::size_t i = 0; i < output.size(); ++i) {
      result.append(output[i]);
      if (i + 1 < output.size() || !endsText) result.append(runEnd);
    }
  }
  result.append(text.substr(copied));
  return result;
}

bool commentRunsKeepLineEnds(std::string_view text, std::span<const CommentFacts> comments) {
  CommentRunWalker walker(text, comments);
  while (const CommentRun* run = walker.next()) {
    for (std::size_t i = 1; i < run->lines.size(); ++i) {
      // The run's last line keeps a missing line end; every other line gets
      // the first line's.
      const std::string_view end = lineEndAfter(text, run->lines[i]);
      if (!end.empty() && end != run->firstLineEnd) return false;
    }
  }
  return true;
}

}  // namespace brindlewort
