#pragma once

// What the workbench's Wrap and Unwrap do to a list of lines. In a text of
// a source language only the comment paragraphs its lexer finds move,
// filled to the length in characters, and every other line stays byte for
// byte; plain text is prose and is wrapped whole.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reflow/line_span.h"
#include "reflow/source_language.h"

namespace brindlewort {

// The lines re-flowed at maxLength characters in `language`, null for plain
// text. noCommentLengthLimit joins each paragraph into one line; a length
// below 1 (a negative stored length) wraps as narrowly as the text allows.
// With `onlyLines`, in a language, only the paragraphs touching those lines
// move.
std::vector<std::string> reflowedLines(const std::vector<std::string>& lines, std::int64_t maxLength,
                                       const SourceLanguage* language,
                                       std::optional<LineSpan> onlyLines = std::nullopt);

}  // namespace brindlewort
