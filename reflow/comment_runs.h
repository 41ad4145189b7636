#pragma once

// The runs of consecutive // comment lines of a source text: the only parts
// a re-flow may touch. Every other line is code or a blank line and is kept
// byte for byte.

#include <cstddef>
#include <string_view>
#include <vector>

namespace brindlewort {

// True for a line (without its line end) that belongs to a comment run: its
// comment prefix holds "//" and nothing but spaces and tabs comes before it.
bool isCommentRunLine(std::string_view line);

// The line end that follows a line of the text (a view into it): "\n",
// "\r\n", or "" for a line that closes the text without one.
std::string_view lineEndAfter(std::string_view text, std::string_view line);

struct CommentRun {
  std::vector<std::string_view> lines;  // views into the text, line ends left out
  std::size_t firstLine = 0;            // the number of its first line
  std::string_view firstLineEnd;        // the line end of its first line
  std::size_t begin = 0;                // its bytes in the text, line ends included
  std::size_t end = 0;
};

// Walks the comment runs of a text front to back, in time linear in the
// text: only the line that ends a run is looked at twice.
class CommentRunWalker {
 public:
  // Walks `text` from `start`, the start of a line whose number is
  // `firstLine`.
  explicit CommentRunWalker(std::string_view text, std::size_t start = 0, std::size_t firstLine = 0);

  // Walks the whole text with the comment lines a language's lexer found
  // (one entry per line, by line number) instead of the line rule, so that
  // a "//" inside a string or a block comment starts no run.
  CommentRunWalker(std::string_view text, const std::vector<bool>& commentLines);

  // The next run, or null when there is none; valid until the next call.
  const CommentRun* next();

  // Whether the line the walk stands on belongs to a comment run.
  bool atCommentRun() const;

 private:
  std::string_view text_;
  std::size_t position_;
  std::size_t lineNumber_;
  const std::vector<bool>* commentLines_ = nullptr;
  CommentRun run_;

  bool isRunLine(std::string_view line, std::size_t number) const;
};

}  // namespace brindlewort
