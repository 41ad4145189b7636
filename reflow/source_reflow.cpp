#include "reflow/source_reflow.h"

#include "reflow/comment_line.h"

namespace brindlewort {
namespace {

struct SourceLine {
  std::string_view content;  // without its line end
  std::string_view end;      // "\n", "\r\n" or "" at the end of the text
};

std::vector<SourceLine> sourceLines(std::string_view text) {
  std::vector<SourceLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    if (feed == std::string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    std::size_t contentEnd = feed;
    if (contentEnd > start && text[contentEnd - 1] == '\r') --contentEnd;
    lines.push_back({text.substr(start, contentEnd - start), text.substr(contentEnd, feed + 1 - contentEnd)});
    start = feed + 1;
  }
  return lines;
}

bool touches(const std::vector<LineSpan>& spans, std::size_t first, std::size_t last) {
  if (spans.empty()) return true;
  for (const LineSpan& span : spans) {
    if (span.first <= last && first <= span.last) return true;
  }
  return false;
}

}  // namespace

std::string reflowSource(std::string_view text, const std::vector<bool>& commentLines,
                         const SourceReflowOptions& options) {
  const std::vector<SourceLine> lines = sourceLines(text);
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  bool switchedOff = false;
  std::vector<CommentLine> run;
  std::size_t i = 0;
  while (i < lines.size()) {
    if (i >= commentLines.size() || !commentLines[i]) {
      out += lines[i].content;
      out += lines[i].end;
      ++i;
      continue;
    }
    // A run: comment lines with the same lead and marker.
    const std::size_t runStart = i;
    run.clear();
    run.push_back(splitCommentLine(lines[i].content));
    for (++i; i < lines.size() && i < commentLines.size() && commentLines[i]; ++i) {
      CommentLine next = splitCommentLine(lines[i].content);
      if (next.lead != run.front().lead || next.marker != run.front().marker) break;
      run.push_back(next);
    }
    const RunStructure structure = analyseRun(run, switchedOff);
    std::size_t copied = 0;  // lines of the run written so far
    auto copyUpTo = [&](std::size_t end) {
      for (; copied < end; ++copied) {
        out += lines[runStart + copied].content;
        out += lines[runStart + copied].end;
      }
    };
    for (const Paragraph& paragraph : structure.paragraphs) {
      const std::size_t first = runStart + paragraph.first;
      const std::size_t last = first + paragraph.count - 1;
      if (!touches(options.onlyLines, first, last)) continue;
      const auto reflowed = reflowParagraph(run, paragraph, options.settings);
      if (!reflowed) continue;
      copyUpTo(paragraph.first);
      // New lines end like the paragraph's first line; the last keeps the
      // end of the paragraph's last line, which is none at the text's end.
      const std::string_view end = lines[first].end.empty() ? std::string_view("\n") : lines[first].end;
      for (std::size_t k = 0; k < reflowed->size(); ++k) {
        out += (*reflowed)[k];
        out += k + 1 == reflowed->size() ? lines[last].end : end;
      }
      copied = paragraph.first + paragraph.count;
    }
    copyUpTo(run.size());
  }
  return out;
}

}  // namespace brindlewort
