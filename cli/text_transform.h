#pragma once

// Transformations of a whole text and the two scopes they apply in.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/text_options.h"

namespace brindlewort::cli {

// Turns a whole text into its new form. Called from several threads at once.
using TextTransform = std::function<std::string(std::string_view text)>;

// Turns a list of lines (without line ends) into new lines, as the engine's
// rewrapLines, spellCheckLines and the like do. The lines are views into the
// text being transformed, so that no line is copied on the way in.
using LinesTransform =
    std::function<std::vector<std::string>(const std::vector<std::string_view>& lines)>;

// True for a line (without its line end) that belongs to a comment run: its
// comment prefix holds "//" and nothing but spaces and tabs comes before it.
bool isCommentRunLine(std::string_view line);

// Applies the transform to each run of consecutive comment run lines on its
// own and copies every other line byte for byte. Each run's output lines end
// like the run's first line (LF or CR-LF); a run at the very end of a text
// without a final line end keeps it without one.
std::string transformCommentRuns(std::string_view text, const LinesTransform& transform);

// The same result, with the text cut between runs into pieces that up to
// `threads` threads transform at once.
std::string transformCommentRunsInParallel(std::string_view text, const LinesTransform& transform,
                                           unsigned threads);

// Splits the text at every line feed, transforms the lines and joins the
// result with line feeds, nothing added or removed beyond that.
std::string transformWholeText(std::string_view text, const LinesTransform& transform);

// The lines transform applied in the given scope, using up to `threads`
// threads within one text where the scope allows it.
TextTransform inScope(TextScope scope, LinesTransform transform, unsigned threads);

}  // namespace brindlewort::cli
