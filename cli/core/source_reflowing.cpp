#include "cli/core/source_reflowing.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <span>
#include <string>

#include "base/large_buffer.h"
#include "cli/core/editor_config.h"
#include "cli/core/output_bound.h"
#include "cli/core/parallel_for.h"
#include "engine/comment_length.h"
#include "reflow/comment_lines.h"
#include "reflow/cuts_between_runs.h"
#include "reflow/line_kind_tables.h"
#include "reflow/source_language.h"
#include "reflow/source_reflow.h"

namespace brindlewort::cli {
namespace {

constexpr std::size_t defaultTabWidth = 8;

std::size_t reflowWidth(std::int64_t maxCommentLength) {
  return maxCommentLength == noCommentLengthLimit || maxCommentLength <= 0
             ? unlimitedWidth
             : static_cast<std::size_t>(maxCommentLength);
}

// Where a large text is cut to be lexed and re-flowed in pieces on all
// cores: each piece starts on a line outside the comment runs, so no run is
// split. A region switched off may span pieces, and line ranges count from
// the text's start, so texts with either are done in one piece.
std::vector<std::size_t> piecesOf(std::string_view text, const SourceReflowOptions& options) {
  if (options.onlyLines.empty() && text.find(reflowOffSwitch) == std::string_view::npos)
    return cutsBetweenRuns(text, hardwareThreads());
  return {0, text.size()};
}

// The comment lines of a text lexed in pieces, each piece going on past its
// end until the lexer is back in plain code; the piece that starts there
// takes over.
std::vector<bool> commentLinesInPieces(std::string_view text, const std::vector<std::size_t>& cuts,
                                       const SourceLanguage* language) {
  if (cuts.size() <= 2) return commentLines(text, language);
  const std::span<const std::size_t> stops(cuts.begin() + 1, cuts.end() - 1);
  std::vector<LexedLines> pieces(cuts.size() - 1);
  parallelFor(pieces.size(), hardwareThreads(), [&](std::size_t i) {
    pieces[i] = commentLinesFrom(text, cuts[i], stops.subspan(i), language);
  });
  std::vector<bool> lines;
  for (std::size_t i = 0;;) {
    lines.insert(lines.end(), pieces[i].lines.begin(), pieces[i].lines.end());
    if (pieces[i].end == text.size()) return lines;
    i = static_cast<std::size_t>(std::lower_bound(cuts.begin(), cuts.end(), pieces[i].end) - cuts.begin());
  }
}

// Re-flows a text in the pieces the cuts make, on all cores.
std::string reflowInPieces(std::string_view text, const std::vector<std::size_t>& cuts,
                           const std::vector<bool>& comments, const SourceReflowOptions& options) {
  if (cuts.size() <= 2) return reflowSource(text, comments, options);

  // The line each piece starts on; a cut on a comment line (the lexer may
  // disagree with the line rule the cuts follow) is dropped.
  std::vector<std::size_t> starts{0}, firstLines{0};
  std::size_t line = 0;
  for (std::size_t i = 1; i + 1 < cuts.size(); ++i) {
    line += static_cast<std::size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(cuts[i - 1]),
                                                text.begin() + static_cast<std::ptrdiff_t>(cuts[i]), '\n'));
    if (line < comments.size() && comments[line]) continue;
    starts.push_back(cuts[i]);
    firstLines.push_back(line);
  }
  starts.push_back(text.size());
  std::vector<std::string> outputs(starts.size() - 1);
  parallelFor(outputs.size(), hardwareThreads(), [&](std::size_t i) {
    const std::size_t lastLine = i + 1 < firstLines.size() ? firstLines[i + 1] : comments.size();
    const std::vector<bool> pieceComments(comments.begin() + static_cast<std::ptrdiff_t>(firstLines[i]),
                                          comments.begin() + static_cast<std::ptrdiff_t>(lastLine));
    SourceReflowOptions pieceOptions = options;
    pieceOptions.textOpensFile = i == 0;
    outputs[i] = reflowSource(text.substr(starts[i], starts[i + 1] - starts[i]), pieceComments, pieceOptions);
  });
  std::string result;
  std::size_t total = 0;
  for (const std::string& output : outputs) total += output.size();
  reserveLargeBuffer(result, total);
  for (std::string& output : outputs) {
    result += output;
    std::string().swap(output);
  }
  return result;
}

// Counts the files skipped because their language has no `//` comments.
struct SkippedFiles {
  std::atomic<std::size_t> count{0};
};

SourceTransform sourceReflowing(const TextOptions& options, ReflowMode mode,
                                std::shared_ptr<SkippedFiles> skipped) {
  std::vector<LineSpan> spans;
  for (const LineRange& range : options.lines) spans.push_back({range.first - 1, range.last - 1});
  return [options, mode, spans = std::move(spans), skipped = std::move(skipped)](
             std::string_view text, std::string_view path) -> Result<std::string> {
    const LanguageLookup language = languageForPath(path);
    if (language.kind == LanguageLookup::Kind::noLineComments) {
      skipped->count.fetch_add(1, std::memory_order_relaxed);
      return std::string(text);
    }
    // What the options leave open is read from .editorconfig.
    const EditorConfigSettings project = editorConfigFor(path);
    SourceReflowOptions reflow;
    reflow.settings.mode = mode;
    reflow.settings.width = options.widthGiven || !project.maxLineLength
                                ? reflowWidth(options.width)
                                : (*project.maxLineLength == 0 ? unlimitedWidth : *project.maxLineLength);
    reflow.settings.measure =
        TextWidth::columns(options.tabWidth.value_or(project.tabWidth.value_or(defaultTabWidth)));
    reflow.settings.keepPrefixes = project.keepLinePrefixes;
    reflow.onlyLines = spans;
    // Stopped at the bound, so that a hostile file never builds all of a
    // result that would be refused anyway.
    reflow.settings.sizeLimit = outputBound(text.size());
    const std::vector<std::size_t> cuts = piecesOf(text, reflow);
    std::string result =
        reflowInPieces(text, cuts, commentLinesInPieces(text, cuts, language.language), reflow);
    if (result.size() > reflow.settings.sizeLimit) return outputTooLarge(text.size());
    return result;
  };
}

std::function<std::string()> skippedFilesNote(std::shared_ptr<const SkippedFiles> skipped) {
  return [skipped = std::move(skipped)]() -> std::string {
    const std::size_t count = skipped->count.load();
    if (count == 0) return {};
    return "skipped " + std::to_string(count) + (count == 1 ? " file" : " files") +
           " in a language without // comments";
  };
}

}  // namespace

TextWork sourceReflowWork(const TextOptions& options, ReflowMode mode) {
  auto skipped = std::make_shared<SkippedFiles>();
  return TextWork{.sourceTransform = sourceReflowing(options, mode, skipped),
                  .closingNote = skippedFilesNote(skipped)};
}

}  // namespace brindlewort::cli
