#include "cli/core/source_reflowing.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "cli/core/editor_config.h"
#include "cli/core/parallel_for.h"
#include "engine/comment_length.h"
#include "reflow/comment_lines.h"
#include "reflow/cuts_between_runs.h"
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

// Re-flows a large text in pieces on all cores: each piece starts on a line
// outside the comment runs, so no run is split. A region switched off may
// span pieces, and line ranges count from the text's start, so texts with
// either are done in one piece.
std::string reflowInPieces(std::string_view text, const std::vector<bool>& comments,
                           const SourceReflowOptions& options) {
  std::vector<std::size_t> cuts;
  if (options.onlyLines.empty() && text.find("brindle: off") == std::string_view::npos)
    cuts = cutsBetweenRuns(text, hardwareThreads());
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
    outputs[i] = reflowSource(text.substr(starts[i], starts[i + 1] - starts[i]), pieceComments, options);
  });
  std::string result;
  std::size_t total = 0;
  for (const std::string& output : outputs) total += output.size();
  result.reserve(total);
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
    // Only what the options leave open is read from .editorconfig.
    EditorConfigSettings project;
    if (!options.widthGiven || !options.tabWidth) project = editorConfigFor(path);
    SourceReflowOptions reflow;
    reflow.settings.mode = mode;
    reflow.settings.width = options.widthGiven || !project.maxLineLength
                                ? reflowWidth(options.width)
                                : (*project.maxLineLength == 0 ? unlimitedWidth : *project.maxLineLength);
    reflow.settings.measure =
        TextWidth::columns(options.tabWidth.value_or(project.tabWidth.value_or(defaultTabWidth)));
    reflow.onlyLines = spans;
    return reflowInPieces(text, commentLines(text, language.language), reflow);
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
