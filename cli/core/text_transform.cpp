#include "cli/core/text_transform.h"

#include <optional>
#include <vector>

#include "cli/core/output_bound.h"
#include "cli/core/parallel_for.h"
#include "engine/rewrap.h"
#include "reflow/source_file_reflow.h"

namespace brindlewort::cli {

LanguageLookup commentLanguageOf(std::string_view path, std::string_view text, std::string_view editorName) {
  if (const SourceLanguage* named = languageNamed(editorName)) return {LanguageLookup::Kind::known, named};
  if (path.empty() || path == standardInputName) return languageForPath(path);
  return languageForFile(path, text);
}

const SourceLanguage* commentLanguageFor(std::string_view path, std::string_view text) {
  return commentLanguageOf(path, text).language;
}

std::string transformCommentRunsInParallel(std::string_view text, const SourceLanguage* language,
                                           const RunLinesTransform& transform, unsigned threads) {
  const CommentMap comments = lexCommentsInParallel(text, language, {threads, parallelRunner(threads)});
  const std::vector<TextPiece> pieces = piecesBetweenRuns(text, comments, threads);
  if (pieces.size() <= 2) return transformCommentRuns(text, comments, transform);

  std::vector<std::string> outputs(pieces.size() - 1);
  parallelFor(outputs.size(), threads, [&](std::size_t i) {
    const auto from = comments.begin() + static_cast<std::ptrdiff_t>(pieces[i].firstLine);
    const auto to = comments.begin() + static_cast<std::ptrdiff_t>(pieces[i + 1].firstLine);
    outputs[i] = transformCommentRuns(text.substr(pieces[i].begin, pieces[i + 1].begin - pieces[i].begin),
                                      std::span<const CommentFacts>(from, to), transform);
  });
  std::size_t total = 0;
  for (const std::string& output : outputs) total += output.size();
  std::string result;
  result.reserve(total);
  for (std::string& output : outputs) {
    result.append(output);
    std::string().swap(output);
  }
  return result;
}

std::string transformWholeText(std::string_view text, const LinesTransform& transform) {
  return joinLines(transform(splitLineViews(text)));
}

LinesTransform rewrapping(std::int64_t width) {
  return [width](const std::vector<std::string_view>& lines) { return rewrapLines(lines, width); };
}

FallibleTransform wholeTextRewrapping(std::int64_t width) {
  return [width](std::string_view text) -> Result<std::string> {
    std::optional<std::string> result = rewrapTextWithin(text, width, outputBound(text.size()));
    if (!result) return outputTooLarge(text.size());
    return std::move(*result);
  };
}

TextTransform inScope(TextScope scope, LinesTransform transform, unsigned threads, RunLinesTransform runTransform) {
  if (scope == TextScope::wholeText) {
    return [transform = std::move(transform)](std::string_view text, std::string_view) {
      return transformWholeText(text, transform);
    };
  }
  if (!runTransform) {
    runTransform = [transform = std::move(transform)](const std::vector<std::string_view>& lines,
                                                      std::span<const CommentFacts>) { return transform(lines); };
  }
  return [transform = std::move(runTransform), threads](std::string_view text, std::string_view path) {
    return transformCommentRunsInParallel(text, commentLanguageFor(path, text), transform, threads);
  };
}

}  // namespace brindlewort::cli
