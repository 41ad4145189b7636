#include "cli/core/text_transform.h"

#include <optional>
#include <vector>

#include "cli/core/output_bound.h"
#include "cli/core/parallel_for.h"
#include "engine/rewrap.h"
#include "reflow/cuts_between_runs.h"

namespace brindlewort::cli {

std::string transformCommentRunsInParallel(std::string_view text, const LinesTransform& transform,
                                           unsigned threads) {
  const std::vector<std::size_t> cuts = cutsBetweenRuns(text, threads);
  if (cuts.size() <= 2) return transformCommentRuns(text, transform);

  std::vector<std::string> outputs(cuts.size() - 1);
  parallelFor(outputs.size(), threads, [&](std::size_t i) {
    outputs[i] = transformCommentRuns(text.substr(cuts[i], cuts[i + 1] - cuts[i]), transform);
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

TextTransform inScope(TextScope scope, LinesTransform transform, unsigned threads) {
  if (scope == TextScope::wholeText) {
    return [transform = std::move(transform)](std::string_view text) {
      return transformWholeText(text, transform);
    };
  }
  return [transform = std::move(transform), threads](std::string_view text) {
    return transformCommentRunsInParallel(text, transform, threads);
  };
}

}  // namespace brindlewort::cli
