#pragma once

// What the workbench's Wrap and Unwrap do to a list of lines: in a text
// with `//` comments only the comment paragraphs move, filled to the
// length in characters, and every other line stays as it is; a text
// without any comment line is prose and is wrapped whole.

#include <cstdint>
#include <string>
#include <vector>

namespace brindlewort {

// The lines re-flowed at maxLength characters (noCommentLengthLimit joins
// each paragraph into one line). `documentHasComments` says whether the
// whole document, not only these lines, holds a `//` comment line.
std::vector<std::string> reflowedLines(const std::vector<std::string>& lines, std::int64_t maxLength,
                                       bool documentHasComments);

// True when the lexer's line rule finds a comment line among the lines.
bool hasLineComments(const std::vector<std::string>& lines);

}  // namespace brindlewort
