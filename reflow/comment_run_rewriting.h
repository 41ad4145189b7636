#pragma once

// The transform of a source text's comment runs: each run goes through a
// lines transform on its own, every other byte is copied as it is.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "reflow/comment_facts.h"

namespace brindlewort {

// Turns a list of lines (without line ends) into new lines, as the engine's
// rewrapLines, spellCheckLines and the like do. The lines are views into the
// text being transformed, so that no line is copied on the way in.
using LinesTransform =
    std::function<std::vector<std::string>(const std::vector<std::string_view>& lines)>;

// A lines transform that is also given the lexer's facts for each line of
// the run, which say where each line's marker stands.
using RunLinesTransform = std::function<std::vector<std::string>(const std::vector<std::string_view>& lines,
                                                                 std::span<const CommentFacts> facts)>;

// Applies the transform to each comment run on its own (the runs of
// `comments`, the facts of the text's lines) and copies every other line
// byte for byte. Each run's output lines end like the run's
// first line (LF or CR-LF); a run at the very end of a text without a final
// line end keeps it without one.
std::string transformCommentRuns(std::string_view text, std::span<const CommentFacts> comments,
                                const LinesTransform& transform);
std::string transformCommentRuns(std::string_view text, std::span<const CommentFacts> comments,
                                const RunLinesTransform& transform);

// True when transforming the comment runs gives the text back as long as
// the lines transform does: every line of a run, a last one without a line
// end aside, ends like the run's first line.
bool commentRunsKeepLineEnds(std::string_view text, std::span<const CommentFacts> comments);

}  // namespace brindlewort
