#include "reflow/source_reflow.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "base/large_buffer.h"

#include "reflow/comment_line_parts.h"
#include "reflow/comment_run_walker.h"
#include "reflow/line_kind_tables.h"
#include "reflow/run_parts.h"

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

// Where a text's licence header is: its first non-blank line, and the end
// of the last comment paragraph at its top, before any code, that names a
// licence (0 when none does). The comment lines before that end are the
// header, whatever blank lines part them ("Under Section 7 of GPL ..."
// names none but sits between two that do).
struct FileOpening {
  std::size_t first = SIZE_MAX;
  std::size_t licenceEnd = 0;
};

FileOpening fileOpening(std::string_view text, std::span<const CommentFacts> comments, bool opensFile) {
  FileOpening opening;
  if (!opensFile) return opening;
  opening.first = firstContentLine(text);
  std::size_t begin = 0;
  bool inLicence = false;
  for (std::size_t line = 0; line < comments.size() && begin <= text.size(); ++line) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view content = text.substr(begin, end - begin);
    const bool blank = content.find_first_not_of(" \t\r") == std::string_view::npos;
    if (comments[line].isWholeLine() && !splitCommentLine(content, comments[line]).hasNoText()) {
      if (!inLicence && namesALicence(content)) inLicence = true;
      if (inLicence) opening.licenceEnd = line + 1;
    } else if (comments[line].isWholeLine()) {
      inLicence = false;
    } else if (!blank && comments[line].role != CommentRole::blockEdge) {
      break;
    } else {
      inLicence = false;
    }
    begin = end + 1;
  }
  return opening;
}

// Sets what a run's part needs to know about the file's opening.
void placeInFile(RunContext& context, const FileOpening& opening, std::size_t firstLine) {
  context.opensFile = firstLine == opening.first;
  context.licenceLines = firstLine < opening.licenceEnd ? opening.licenceEnd - firstLine : 0;
}

}  // namespace

SentenceGaps sentenceGaps(std::string_view text, std::span<const CommentFacts> comments) {
  SentenceGaps gaps;
  std::size_t begin = 0;
  for (std::size_t line = 0; begin < text.size(); ++line) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    if (isWholeLineComment(comments, line)) {
      const std::string_view content = text.substr(begin, end - begin);
      SentenceMarks marks(content);
      for (std::size_t at = marks.next(); at != std::string_view::npos; at = marks.next()) {
        std::size_t blanks = at + 1;
        while (blanks < content.size() && content[blanks] == ' ') ++blanks;
        if (blanks == at + 1 || blanks >= content.size() || content[blanks] < 'A' || content[blanks] > 'Z') continue;
        ++(blanks - at - 1 >= 2 ? gaps.two : gaps.one);
      }
    }
    begin = end + 1;
  }
  return gaps;
}

namespace {

// Marks the paragraphs of a run that sets two blanks after a sentence, and
// never one, so that a paragraph whose sentences all end at line ends keeps
// the run's convention when it is filled; in a run that shows neither, that
// of most of the text.
template <typename TextTwoSpaced>
void keepSentenceSpacing(const std::vector<CommentLine>& run, RunStructure& structure, TextTwoSpaced textTwoSpaced,
                         const ReflowSettings& settings) {
  SentenceSpacing seen;
  for (Paragraph& paragraph : structure.paragraphs) {
    const SentenceSpacing spacing = sentenceSpacing(run, paragraph, settings);
    paragraph.spacingKnown = true;
    paragraph.twoSpaced = spacing.two;
    paragraph.oneSpaced = spacing.one;
    seen.two = seen.two || spacing.two;
    seen.one = seen.one || spacing.one;
  }
  if (seen.one || (!seen.two && !textTwoSpaced())) return;
  for (Paragraph& paragraph : structure.paragraphs) paragraph.twoSpacedRun = true;
}

// Re-flows one run of lines with the same lead and marker into `out`.
void reflowRun(std::string_view text, const std::vector<CommentLine>& run,
               std::size_t firstLine, const SourceReflowOptions& options, RunContext& context,
               const std::function<bool()>& twoSpaced, std::string& out) {
  bool& switchedOff = context.switchedOff;
  // Wrapping changes nothing in a run whose lines all fit, and most runs
  // do: copy them without reading their structure (unless they switch
  // re-flow off or on).
  if (options.settings.mode == ReflowMode::wrap && !switchedOff) {
    const std::size_t width = options.settings.width;
    const bool allFit = std::all_of(run.begin(), run.end(), [&](const CommentLine& parts) {
      const std::string_view line = parts.line;
      return !maySwitch(line) && (width == unlimitedWidth || options.settings.measure.fitsIn(line, width));
    });
    if (allFit) {
      for (const CommentLine& line : run) {
        out += line.line;
        out += lineEndAfter(text, line.line);
      }
      return;
    }
  }
  auto lines = [&](std::size_t i) { return run[i].line; };
  RunStructure structure = analyseRun(run, context);
  if (options.settings.mode != ReflowMode::wrap) keepSentenceSpacing(run, structure, twoSpaced, options.settings);
  std::size_t copied = 0;  // lines of the run written so far
  auto copyUpTo = [&](std::size_t end) {
    for (; copied < end; ++copied) {
      out += lines(copied);
      out += lineEndAfter(text, lines(copied));
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
    const std::string_view firstEnd = lineEndAfter(text, lines(paragraph.first));
    const std::string_view end = firstEnd.empty() ? std::string_view("\n") : firstEnd;
    const std::string_view lastEnd = lineEndAfter(text, lines(paragraph.first + paragraph.count - 1));
    for (std::size_t k = 0; k < reflowed->size(); ++k) {
      out += (*reflowed)[k];
      out += k + 1 == reflowed->size() ? lastEnd : end;
    }
    copied = paragraph.first + paragraph.count;
  }
  copyUpTo(run.size());
}

// Calls visit(lines, firstLine, run) for every stretch of comment lines with
// the same lead and marker: a run of the walker splits where the
// indentation or the marker changes, since "//" lines under "///" lines are
// another comment. A block comment's first line goes with the lines below
// it, whose decoration its paragraph continues with.
template <typename Visit>
void forEachRunPart(std::string_view text, std::span<const CommentFacts> comments, Visit visit) {
  CommentRunWalker walker(text, comments);
  std::vector<CommentLine> lines;
  std::vector<CommentLine> part;
  while (const CommentRun* run = walker.next()) {
    lines.clear();
    for (std::size_t i = 0; i < run->lines.size(); ++i)
      lines.push_back(splitCommentLine(run->lines[i], comments[run->firstLine + i]));
    forEachPartOfRun(lines, [&](std::size_t start, std::size_t stop) {
      part.assign(lines.begin() + static_cast<std::ptrdiff_t>(start), lines.begin() + static_cast<std::ptrdiff_t>(stop));
      visit(part, run->firstLine + start, *run);
    });
  }
}

}  // namespace

std::vector<std::pair<std::size_t, LineKind>> commentLineKinds(std::string_view text,
                                                              std::span<const CommentFacts> comments) {
  std::vector<std::pair<std::size_t, LineKind>> kinds;
  RunContext context;
  const FileOpening opening = fileOpening(text, comments, true);
  forEachRunPart(text, comments,
                 [&](const std::vector<CommentLine>& run, std::size_t firstLine, const CommentRun&) {
                   placeInFile(context, opening, firstLine);
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
  const FileOpening opening = fileOpening(text, comments, options.textOpensFile);
  std::size_t copiedTo = 0;  // bytes of the text written so far
  const std::size_t limit = options.settings.sizeLimit;
  // The text's own convention is read once, and only when a run shows none.
  std::optional<bool> textTwoSpaced = options.textTwoSpaced;
  const std::function<bool()> twoSpaced = [&] {
    if (!textTwoSpaced) textTwoSpaced = sentenceGaps(text, comments).mostlyTwo();
    return *textTwoSpaced;
  };
  forEachRunPart(text, comments,
                 [&](const std::vector<CommentLine>& lines, std::size_t firstLine, const CommentRun& run) {
                   if (out.size() > limit) return;
                   // The code before a run, once per run of the walker.
                   if (run.begin >= copiedTo) out.append(text.substr(copiedTo, run.begin - copiedTo));
                   placeInFile(context, opening, firstLine);
                   reflowRun(text, lines, firstLine, options, context, twoSpaced, out);
                   copiedTo = run.end;
                 });
  if (out.size() > limit) return out;
  out.append(text.substr(copiedTo));
  return out;
}

}  // namespace brindlewort
