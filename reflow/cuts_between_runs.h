#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace brindlewort {

// Offsets that cut the text into pieces for up to `threads` threads to
// transform at once, each cut at the start of a line that opens at the top
// level (a name or a closing brace in its first column) where one comes
// soon enough, else of a line that is no comment by the line rule; the
// first is 0 and the last text.size(). A text too small
// to be worth splitting gives just those two. The cuts are a first guess:
// piecesBetweenRuns (source_file_reflow.h) drops those that the lexer of
// the text's language finds inside a comment run.
std::vector<std::size_t> cutsBetweenRuns(std::string_view text, unsigned threads);

}  // namespace brindlewort
