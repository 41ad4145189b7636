#include "cli/core/source_reflowing.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "cli/core/editor_config.h"
#include "cli/core/output_bound.h"
#include "cli/core/parallel_for.h"
#include "cli/core/text_transform.h"
#include "engine/comment_length.h"
#include "reflow/source_file_reflow.h"
#include "reflow/source_language.h"

namespace brindlewort::cli {
namespace {

constexpr std::size_t defaultTabWidth = 8;

std::size_t reflowWidth(std::int64_t maxCommentLength) {
  return maxCommentLength == noCommentLengthLimit || maxCommentLength <= 0
             ? unlimitedWidth
             : static_cast<std::size_t>(maxCommentLength);
}

WidthChoice widthChosen(const TextOptions& options, const EditorConfigSettings& project) {
  if (options.widthGiven) return {reflowWidth(options.width), "--width"};
  if (project.maxLineLength)
    return {*project.maxLineLength == 0 ? unlimitedWidth : *project.maxLineLength, ".editorconfig"};
  return {reflowWidth(options.width), "the shared setting"};
}

std::string columnsText(std::size_t columns) {
  return columns == unlimitedWidth ? std::string("unlimited") : std::to_string(columns) + " columns";
}

// The widths of the files that would change, for the fix hint.
struct WidthsUsed {
  std::mutex mutex;
  std::vector<WidthChoice> widths;

  void note(const WidthChoice& width) {
    std::lock_guard lock(mutex);
    const bool known = std::any_of(widths.begin(), widths.end(), [&](const WidthChoice& used) {
      return used.columns == width.columns && used.source == width.source;
    });
    if (!known) widths.push_back(width);
  }
};

// Counts the files skipped because their language has no `//` comments.
struct SkippedFiles {
  std::atomic<std::size_t> count{0};
};

SourceTransform sourceReflowing(const TextOptions& options, ReflowMode mode,
                                std::shared_ptr<SkippedFiles> skipped) {
  SourceReflowRequest request;
  request.mode = mode;
  if (options.widthGiven) request.width = options.width;
  request.defaultWidth = options.width;
  request.tabWidth = options.tabWidth;
  request.onlyLines = options.lines;
  return [request = std::move(request), skipped = std::move(skipped)](
             std::string_view text, std::string_view path) -> Result<std::string> {
    bool skip = false;
    Result<std::string> result = reflowSourceText(text, path, request, &skip);
    if (skip) skipped->count.fetch_add(1, std::memory_order_relaxed);
    return result;
  };
}

std::function<std::string()> skippedFilesNote(std::shared_ptr<const SkippedFiles> skipped) {
  return [skipped = std::move(skipped)]() -> std::string {
    const std::size_t count = skipped->count.load();
    if (count == 0) return {};
    return "skipped " + std::to_string(count) + (count == 1 ? " file" : " files") +
           " without line comments (text, markup, tables)";
  };
}

}  // namespace

Result<std::string> reflowSourceText(std::string_view text, std::string_view path,
                                     const SourceReflowRequest& request, bool* skipped) {
  const LanguageLookup language = commentLanguageOf(path, text, request.editorName);
  if (language.kind == LanguageLookup::Kind::noLineComments) {
    if (skipped != nullptr) *skipped = true;
    return std::string(text);
  }
  // What the request leaves open is read from .editorconfig, and the
  // project's own lines to keep always are.
  const EditorConfigSettings project = editorConfigFor(path);
  SourceReflowOptions reflow;
  reflow.settings.mode = request.mode;
  reflow.settings.width = request.width || !project.maxLineLength
                              ? reflowWidth(request.width.value_or(request.defaultWidth))
                              : (*project.maxLineLength == 0 ? unlimitedWidth : *project.maxLineLength);
  reflow.settings.measure =
      TextWidth::columns(request.tabWidth.value_or(project.tabWidth.value_or(defaultTabWidth)));
  reflow.settings.keepPrefixes = project.keepLinePrefixes;
  reflow.onlyLines = request.onlyLines;
  // Stopped at the bound, so that a hostile file never builds all of a
  // result that would be refused anyway.
  reflow.settings.sizeLimit = outputBound(text.size());
  const unsigned threads = hardwareThreads();
  std::string result = reflowSourceFile(text, language.language, reflow, {threads, parallelRunner(threads)});
  if (result.size() > reflow.settings.sizeLimit) return outputTooLarge(text.size());
  return result;
}

WidthChoice widthFor(const TextOptions& options, std::string_view path) {
  return widthChosen(options, options.widthGiven ? EditorConfigSettings{} : editorConfigFor(path));
}

std::string reflowChangeNote(ReflowMode mode, const WidthChoice& width) {
  if (mode == ReflowMode::unwrap) return "unwrap would join this comment paragraph into one line";
  const std::string command = mode == ReflowMode::fill ? "fill" : "wrap";
  if (width.columns == unlimitedWidth)
    return command + " would join this comment paragraph into one line (no width limit, from " +
           std::string(width.source) + ")";
  return command + " would re-flow this comment paragraph to " + columnsText(width.columns) + " (" +
         std::string(width.source) + ")";
}

std::string widthsUsedNote(const std::vector<WidthChoice>& widths) {
  if (widths.empty()) return {};
  std::string note = "width ";
  for (const WidthChoice& width : widths) {
    if (&width != &widths.front()) note += "; ";
    note += columnsText(width.columns) + " from " + std::string(width.source);
  }
  return note;
}

TextWork sourceReflowWork(const TextOptions& options, ReflowMode mode) {
  auto skipped = std::make_shared<SkippedFiles>();
  auto used = std::make_shared<WidthsUsed>();
  TextWork work{.how = SourceFileWork{sourceReflowing(options, mode, skipped)},
                .closingNote = skippedFilesNote(skipped)};
  work.changeNote = [options, mode, used](std::string_view path) {
    const WidthChoice width = widthFor(options, path);
    used->note(width);
    return reflowChangeNote(mode, width);
  };
  if (mode != ReflowMode::unwrap) {
    work.widthsNote = [used] {
      std::lock_guard lock(used->mutex);
      // Files finish in any order on several threads; the note must not.
      std::vector<WidthChoice> widths = used->widths;
      std::sort(widths.begin(), widths.end(), [](const WidthChoice& a, const WidthChoice& b) {
        return a.columns != b.columns ? a.columns < b.columns : a.source < b.source;
      });
      return widthsUsedNote(widths);
    };
  }
  return work;
}

}  // namespace brindlewort::cli
