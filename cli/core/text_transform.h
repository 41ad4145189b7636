#pragma once

// Transformations of a whole text and the two scopes they apply in.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/core/text_options.h"

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

// Offsets that cut the text into pieces for up to `threads` threads, each
// cut at the start of a line outside the comment runs so that no run is
// split; the first is 0 and the last text.size().
std::vector<std::size_t> cutsBetweenRuns(std::string_view text, unsigned threads);

// The same result, with the text cut between runs into pieces that up to
// `threads` threads transform at once.
std::string transformCommentRunsInParallel(std::string_view text, const LinesTransform& transform,
                                           unsigned threads);

// True when transforming the comment runs gives the text back as long as
// the lines transform does: every line of a run, a last one without a line
// end aside, ends like the run's first line.
bool commentRunsKeepLineEnds(std::string_view text);

// Splits the text at every line feed, transforms the lines and joins the
// result with line feeds, nothing added or removed beyond that.
std::string transformWholeText(std::string_view text, const LinesTransform& transform);

// Re-flows the comment paragraphs of the lines to the width
// (noCommentLengthLimit: each paragraph on one line).
LinesTransform rewrapping(std::int64_t width);

// The lines transform applied in the given scope, using up to `threads`
// threads within one text where the scope allows it.
TextTransform inScope(TextScope scope, LinesTransform transform, unsigned threads);

}  // namespace brindlewort::cli
