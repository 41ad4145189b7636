#include "reflow/source_reflow.h"

#include <algorithm>

#include "base/large_buffer.h"

#include "reflow/comment_line_parts.h"
#include "reflow/comment_run_walker.h"
#include "reflow/line_kind_tables.h"

namespace brindlewort {
namespace {

bool touches(const std::vector<LineSpan>& spans, std::size_t first, std::size_t last) {
  if (spans.empty()) return true;
  for (const LineSpan& span : spans) {
    if (span.first <= last && first <= span.last) return true;
  }
  return false;
}

// Whether a line may switch re-flow off or on: such a line's text is just
// "brindle: off" or "brindle: on", so a look at its end will do.
bool maySwitch(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line.ends_with(reflowOffSwitch) || line.ends_with(reflowOnSwitch);
}

// The line of the text's first non-blank character: where a licence header
// would start.
std::size_t firstContentLine(std::string_view text) {
  // A script's licence header comes after its shebang line.
  const std::size_t from = text.starts_with("#!") ? std::min(text.find('\n'), text.size()) : 0;
  const std::size_t at = text.find_first_not_of(" \t\r\n", from);
  if (at == std::string_view::npos) return SIZE_MAX;
  return static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

// Re-flows one run of lines with the same lead and marker into `out`.
void reflowRun(std::string_view text, const std::vector<std::string_view>& lines,
               std::size_t firstLine, const SourceReflowOptions& options, RunContext& context,
               std::string& out) {
  bool& switchedOff = context.switchedOff;
  // Wrapping changes nothing in a run whose lines all fit, and most runs
  // do: copy them without reading their structure (unless they switch
  // re-flow off or on).
  if (options.settings.mode == ReflowMode::wrap && !switchedOff) {
    const std::size_t width = options.settings.width;
    const bool allFit = std::all_of(lines.begin(), lines.end(), [&](std::string_view line) {
      // A line is never narrower than its bytes, but for its tabs.
      return !maySwitch(line) &&
             (width == unlimitedWidth ||
              (line.size() <= width && line.find('\t') == std::string_view::npos) ||
              options.settings.measure.of(line) <= width);
    });
    if (allFit) {
      for (const std::string_view line : lines) {
        out += line;
        out += lineEndAfter(text, line);
      }
      return;
    }
  }
  std::vector<CommentLine> run;
  run.reserve(lines.size());
  for (const std::string_view line : lines) run.push_back(splitCommentLine(line));
  const RunStructure structure = analyseRun(run, context);
  std::size_t copied = 0;  // lines of the run written so far
  auto copyUpTo = [&](std::size_t end) {
    for (; copied < end; ++copied) {
      out += lines[copied];
      out += lineEndAfter(text, lines[copied]);
    }
  };
  for (const Paragraph& paragraph : structure.paragraphs) {
    const std::size_t first = firstLine + paragraph.first;
    if (!touches(options.onlyLines, first, first + paragraph.count - 1)) continue;
    const auto reflowed = reflowParagraph(run, paragraph, options.settings);
    if (!reflowed) continue;
    copyUpTo(paragraph.first);
    // New lines end like the paragraph's first line; the last keeps the
    // end of the paragraph's last line, which is none at the text's end.
    const std::string_view firstEnd = lineEndAfter(text, lines[paragraph.first]);
    const std::string_view end = firstEnd.empty() ? std::string_view("\n") : firstEnd;
    const std::string_view lastEnd = lineEndAfter(text, lines[paragraph.first + paragraph.count - 1]);
    for (std::size_t k = 0; k < reflowed->size(); ++k) {
      out += (*reflowed)[k];
      out += k + 1 == reflowed->size() ? lastEnd : end;
    }
    copied = paragraph.first + paragraph.count;
  }
  copyUpTo(run.size());
}

// Calls visit(lines, firstLine, runBegin, runEnd) for every stretch of
// comment lines with the same lead and marker: a run of the walker splits
// where the indentation or the marker changes, since "//" lines under "///"
// lines are another comment. runBegin and runEnd are the walker run's bytes.
template <typename Visit>
void forEachRunPart(std::string_view text, std::span<const CommentFacts> comments, Visit visit) {
  CommentRunWalker walker(text, comments);
  std::vector<std::string_view> part;
  while (const CommentRun* run = walker.next()) {
    std::size_t start = 0;
    while (start < run->lines.size()) {
      const CommentLine head = splitCommentLine(run->lines[start]);
      std::size_t stop = start + 1;
      while (stop < run->lines.size()) {
        const CommentLine next = splitCommentLine(run->lines[stop]);
        if (next.lead != head.lead || next.marker != head.marker) break;
        ++stop;
      }
      part.assign(run->lines.begin() + static_cast<std::ptrdiff_t>(start),
                  run->lines.begin() + static_cast<std::ptrdiff_t>(stop));
      visit(part, run->firstLine + start, *run);
      start = stop;
    }
  }
}

}  // namespace

std::vector<std::pair<std::size_t, LineKind>> commentLineKinds(std::string_view text,
                                                              std::span<const CommentFacts> comments) {
  std::vector<std::pair<std::size_t, LineKind>> kinds;
  RunContext context;
  const std::size_t opening = firstContentLine(text);
  std::vector<CommentLine> run;
  forEachRunPart(text, comments,
                 [&](const std::vector<std::string_view>& lines, std::size_t firstLine, const CommentRun&) {
                   run.clear();
                   for (const std::string_view line : lines) run.push_back(splitCommentLine(line));
                   context.opensFile = firstLine == opening;
                   const RunStructure structure = analyseRun(run, context);
                   for (std::size_t i = 0; i < run.size(); ++i) kinds.emplace_back(firstLine + i, structure.kinds[i]);
                 });
  return kinds;
}

std::string reflowSource(std::string_view text, std::span<const CommentFacts> comments,
                         const SourceReflowOptions& options) {
  std::string out;
  reserveLargeBuffer(out, text.size() + text.size() / 8);
  RunContext context;
  context.keepPrefixes = options.settings.keepPrefixes;
  context.deeperLinesContinue = options.settings.mode == ReflowMode::wrap;
  const std::size_t opening = options.textOpensFile ? firstContentLine(text) : SIZE_MAX;
  std::size_t copiedTo = 0;  // bytes of the text written so far
  const std::size_t limit = options.settings.sizeLimit;
  forEachRunPart(text, comments,
                 [&](const std::vector<std::string_view>& lines, std::size_t firstLine, const CommentRun& run) {
                   if (out.size() > limit) return;
                   // The code before a run, once per run of the walker.
                   if (run.begin >= copiedTo) out.append(text.substr(copiedTo, run.begin - copiedTo));
                   context.opensFile = firstLine == opening;
                   reflowRun(text, lines, firstLine, options, context, out);
                   copiedTo = run.end;
                 });
  if (out.size() > limit) return out;
  out.append(text.substr(copiedTo));
  return out;
}

}  // namespace brindlewort
