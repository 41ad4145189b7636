#include "reflow/source_file_reflow.h"

#include <algorithm>
#include <span>

#include "base/large_buffer.h"
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
  for (std::size_t i = 0;;) {
    lines.insert(lines.end(), pieces[i].lines.begin(), pieces[i].lines.end());
    if (pieces[i].end == text.size()) return lines;
    i = static_cast<std::size_t>(std::lower_bound(cuts.begin(), cuts.end(), pieces[i].end) - cuts.begin());
  }
}

// The pieces the cuts make, less the cuts on a comment line (the lexer may
// disagree with the line rule the cuts follow).
std::vector<TextPiece> piecesAt(std::string_view text, const std::vector<std::size_t>& cuts,
                                const CommentMap& comments) {
  std::vector<TextPiece> pieces{{0, 0}};
  std::size_t line = 0;
  for (std::size_t i = 1; i + 1 < cuts.size(); ++i) {
    line += static_cast<std::size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(cuts[i - 1]),
                                                text.begin() + static_cast<std::ptrdiff_t>(cuts[i]), '\n'));
    if (isWholeLineComment(comments, line)) continue;
    pieces.push_back({cuts[i], line});
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
  std::vector<std::string> outputs(pieces.size() - 1);
  runAll(parallelism, outputs.size(), [&](std::size_t i) {
    const std::span<const CommentFacts> pieceComments(comments.begin() + static_cast<std::ptrdiff_t>(pieces[i].firstLine),
                                                      comments.begin() + static_cast<std::ptrdiff_t>(pieces[i + 1].firstLine));
    // Only the first piece starts where the file does (its licence header).
    SourceReflowOptions pieceOptions = options;
    pieceOptions.textOpensFile = options.textOpensFile && i == 0;
    outputs[i] = reflowSource(text.substr(pieces[i].begin, pieces[i + 1].begin - pieces[i].begin), pieceComments,
                              pieceOptions);
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
