#pragma once

// Which lines of a source file are "//" comment lines: lines whose first
// non-blank characters (after spaces and tabs) are "//", where that "//"
// starts outside block comments, string and character literals. Lines are
// split at '\n' (a trailing '\n' gives a final empty line); a '\r' before
// the '\n' belongs to the line end. Any bytes are accepted: invalid UTF-8
// and NUL bytes are ordinary characters.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "reflow/source_language.h"

namespace brindlewort {

// For each line, where its "//" starts (a byte offset into the line), or
// nothing when the line is not a comment line. With a null language the
// first non-blank characters alone decide.
std::vector<std::optional<std::size_t>> commentMarkers(std::string_view text,
                                                       const SourceLanguage* language);

// The identifiers and numbers of the code, outside comments and literals
// (views into the text, in order, repeats included): the words a program
// itself uses, which its comments may use too.
std::vector<std::string_view> codeWords(std::string_view text, const SourceLanguage& language);

// For each line, whether it is a comment line.
std::vector<bool> commentLines(std::string_view text, const SourceLanguage* language);

// Lexing a large text in pieces on several threads: the lines from `begin`
// (a line start), lexed as if the text started there, up to the first of
// `stops` (ascending line starts after `begin`) where the lexer is back in
// plain code, or to the text's end. Where a piece ends, the lexer is in
// the state it starts in, so the piece lexed from there joins on exactly:
// put together, the pieces give what commentLines gives for the text.
struct LexedLines {
  std::vector<bool> lines;
  std::size_t end = 0;
};
LexedLines commentLinesFrom(std::string_view text, std::size_t begin,
                            std::span<const std::size_t> stops, const SourceLanguage* language);

}  // namespace brindlewort
