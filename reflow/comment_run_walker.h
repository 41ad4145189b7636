#pragma once

// The runs of consecutive // comment lines of a source text: the only parts
// a re-flow may touch. Every other line is code or a blank line and is kept
// byte for byte.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "reflow/comment_facts.h"

namespace brindlewort {

// The line rule for a line (without its line end) of a text whose language
// is not known, as the engine's whole-text scope sees it: its comment
// prefix holds the line marker and nothing but spaces and tabs comes before
// it.
bool isCommentRunLine(std::string_view line);

// The line end that follows a line of the text (a view into it): "\n",
// "\r\n", or "" for a line that closes the text without one.
std::string_view lineEndAfter(std::string_view text, std::string_view line);

struct CommentRun {
  std::vector<std::string_view> lines;  // views into the text, line ends left out
  std::span<const CommentFacts> facts;  // the lexer's facts for each of them
  std::size_t firstLine = 0;            // the number of its first line
  std::string_view firstLineEnd;        // the line end of its first line
  std::size_t begin = 0;                // its bytes in the text, line ends included
  std::size_t end = 0;
};

// Walks the comment runs of a text front to back, in time linear in the
// text: only the line that ends a run is looked at twice. A run is a
// stretch of lines the lexer calls whole-line comments, so that a marker
// inside a string starts none: line comments, or the lines of one block
// comment that hold text.
class CommentRunWalker {
 public:
  // Walks `text`, whose lines have the facts `comments` (one entry per line,
  // from the text's first line); runs are numbered from `firstLine`.
  CommentRunWalker(std::string_view text, std::span<const CommentFacts> comments, std::size_t firstLine = 0);

  // The next run, or null when there is none; valid until the next call.
  const CommentRun* next();

 private:
  std::string_view text_;
  std::span<const CommentFacts> comments_;
  std::size_t position_ = 0;
  std::size_t index_ = 0;  // of the line the walk stands on, in comments_
  std::size_t firstLine_;
  CommentRun run_;
};

}  // namespace brindlewort
