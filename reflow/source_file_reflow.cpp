#include "reflow/source_file_reflow.h"

#include <algorithm>
#include <span>

#include "base/large_buffer.h"
#include "base/line_feeds.h"
#include "reflow/comment_lexer.h"
#include "reflow/cuts_between_runs.h"
#include "reflow/line_kind_tables.h"

namespace brindlewort {
namespace {

void runAll(const Parallelism& parallelism, std::size_t count, const std::function<void(std::size_t)>& task) {
  if (parallelism.run && parallelism.threads > 1) {
    parallelism.run(count, task);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) task(i);
}

// The comment facts of a text lexed in the pieces the cuts make.
CommentMap lexedInPieces(std::string_view text, const std::vector<std::size_t>& cuts,
                         const SourceLanguage* language, const Parallelism& parallelism) {
  if (cuts.size() <= 2) return lexComments(text, language);
  const std::span<const std::size_t> stops(cuts.begin() + 1, cuts.end() - 1);
  std::vector<LexedLines> pieces(cuts.size() - 1);
  runAll(parallelism, pieces.size(),
         [&](std::size_t i) { pieces[i] = lexCommentsFrom(text, cuts[i], stops.subspan(i), language); });
  CommentMap lines;
  std::size_t total = 0;
  for (const LexedLines& piece : pieces) total += piece.lines.size();
  lines.reserve(total);
  for (std::size_t i = 0;;) {
    lines.insert(lines.end(), pieces[i].lines.begin(), pieces[i].lines.end());
    if (pieces[i].end == text.size()) return lines;
    i = static_cast<std::size_t>(std::lower_bound(cuts.begin(), cuts.end(), pieces[i].end) - cuts.begin());
  }
}

// The pieces the cuts make. The cuts follow the line rule, which the
// language's lexer may not share: a cut it finds on a comment line (inside
// a block comment, in a run of '#' lines) moves down to the next line
// outside any comment, and is dropped when that is past the next cut.
std::vector<TextPiece> piecesAt(std::string_view text, const std::vector<std::size_t>& cuts,
                                const CommentMap& comments) {
  std::vector<TextPiece> pieces{{0, 0}};
  std::size_t line = 0;
  std::size_t at = 0;  // the start of `line`
  for (std::size_t i = 1; i + 1 < cuts.size(); ++i) {
    if (cuts[i] <= at) continue;
    line += countLineFeeds(text.substr(at, cuts[i] - at));
    at = cuts[i];
    while (at < cuts[i + 1] && isWholeLineComment(comments, line)) {
      at = text.find('\n', at);
      if (at == std::string_view::npos) at = text.size();
      else ++at;
      ++line;
    }
    if (at >= cuts[i + 1]) continue;
    pieces.push_back({at, line});
  }
  pieces.push_back({text.size(), comments.size()});
  return pieces;
}

// Where a large text is cut to be lexed and re-flowed in pieces: a region
// switched off may span pieces, and line ranges count from the text's
// start, so texts with either are done in one piece.
std::vector<std::size_t> reflowCuts(std::string_view text, const SourceReflowOptions& options,
                                    unsigned threads) {
  if (options.onlyLines.empty() && text.find(reflowOffSwitch) == std::string_view::npos)
    return cutsBetweenRuns(text, threads);
  return {0, text.size()};
}

}  // namespace

CommentMap lexCommentsInParallel(std::string_view text, const SourceLanguage* language,
                                 const Parallelism& parallelism) {
  return lexedInPieces(text, cutsBetweenRuns(text, parallelism.threads), language, parallelism);
}

std::vector<TextPiece> piecesBetweenRuns(std::string_view text, const CommentMap& comments, unsigned threads) {
  return piecesAt(text, cutsBetweenRuns(text, threads), comments);
}

std::string reflowSourceFile(std::string_view text, const SourceLanguage* language,
                             const SourceReflowOptions& options, const Parallelism& parallelism) {
  const std::vector<std::size_t> cuts = reflowCuts(text, options, parallelism.threads);
  const CommentMap comments = lexedInPieces(text, cuts, language, parallelism);
  if (cuts.size() <= 2) return reflowSource(text, comments, options);

  const std::vector<TextPiece> pieces = piecesAt(text, cuts, comments);
  auto pieceText = [&](std::size_t i) { return text.substr(pieces[i].begin, pieces[i + 1].begin - pieces[i].begin); };
  auto commentsOf = [&](std::size_t i) {
    return std::span<const CommentFacts>(comments.begin() + static_cast<std::ptrdiff_t>(pieces[i].firstLine),
                                         comments.begin() + static_cast<std::ptrdiff_t>(pieces[i + 1].firstLine));
  };
  // Each piece follows the whole file's sentence spacing, so that the
  // result does not depend on where the cuts fall.
  std::vector<SentenceGaps> gaps(pieces.size() - 1);
  if (options.settings.mode != ReflowMode::wrap)
    runAll(parallelism, gaps.size(), [&](std::size_t i) { gaps[i] = sentenceGaps(pieceText(i), commentsOf(i)); });
  SentenceGaps fileGaps;
  for (const SentenceGaps& piece : gaps) {
    fileGaps.two += piece.two;
    fileGaps.one += piece.one;
  }
  std::vector<std::string> outputs(pieces.size() - 1);
  runAll(parallelism, outputs.size(), [&](std::size_t i) {
    // Only the first piece starts where the file does (its licence header).
    SourceReflowOptions pieceOptions = options;
    pieceOptions.textOpensFile = options.textOpensFile && i == 0;
    pieceOptions.textTwoSpaced = fileGaps.mostlyTwo();
    outputs[i] = reflowSource(pieceText(i), commentsOf(i), pieceOptions);
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

}  // namespace brindlewort
