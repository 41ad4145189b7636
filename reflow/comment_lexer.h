#pragma once

// The lexer: the comment facts of every line of a source file, by the rules
// of its language in the table. A line comment line is one whose first
// non-blank characters (after spaces and tabs) are the line marker, where
// that marker starts outside block comments, string and character literals.
// Lines are split at '\n' (a trailing '\n' gives a final empty line); a '\r'
// before the '\n' belongs to the line end. Any bytes are accepted: invalid
// UTF-8 and NUL bytes are ordinary characters.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "reflow/comment_facts.h"
#include "reflow/source_language.h"

namespace brindlewort {

// The identifiers and numbers of the code, outside comments and literals
// (views into the text, in order, repeats included): the words a program
// itself uses, which its comments may use too. With `lines`, the facts of
// every line are kept there from the same pass.
std::vector<std::string_view> codeWords(std::string_view text, const SourceLanguage& language,
                                        CommentMap* lines = nullptr);

// The facts of each line. With a null language the first non-blank
// characters alone decide (the line rule).
CommentMap lexComments(std::string_view text, const SourceLanguage* language);

// Lexing a large text in pieces on several threads: the lines from `begin`
// (a line start), lexed as if the text started there, up to the first of
// `stops` (ascending line starts after `begin`) where the lexer is back in
// plain code, or to the text's end. Where a piece ends, the lexer is in
// the state it starts in, so the piece lexed from there joins on exactly:
// put together, the pieces give what lexComments gives for the text.
struct LexedLines {
  CommentMap lines;
  std::size_t end = 0;
};
LexedLines lexCommentsFrom(std::string_view text, std::size_t begin,
                           std::span<const std::size_t> stops, const SourceLanguage* language);

}  // namespace brindlewort
