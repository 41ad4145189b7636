#pragma once

// What the lexer knows about the comment on one line of a source text: the
// model every consumer (re-flow, proofreading, lint, the workbench) reads
// instead of looking for a marker itself.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace brindlewort {

// The part a line plays in the comments of its text.
enum class CommentRole : std::uint8_t {
  code,         // no comment the re-flow or the checks may touch
  wholeLine,    // a line comment with nothing but blanks before its marker
  blockOpener,  // the first line of a block comment, text after the opener
  blockLine,    // a later line of a block comment that holds text
  blockEdge,    // a block comment's opener or closer with no text beside it
};

struct CommentFacts {
  // Where the marker starts, a byte offset into the line. Lines are far
  // shorter than 4 GB; the lexer calls a line whose marker would sit
  // further in code.
  // In a block comment the marker is the opener on its first line and the
  // decoration (" * ") on the others: on a line without one, the blanks
  // that stand where the opener stood above, or nothing.
  std::uint32_t markerAt = 0;
  std::uint8_t markerSize = 0;  // "//" 2, a doc marker 3
  CommentRole role = CommentRole::code;
  // The bytes of a block's closer at the end of the line's text: the last
  // line of a block that holds text before its "*/".
  std::uint8_t closerSize = 0;
  // On a block's lines: the byte its language decorates later lines with
  // (" * "), and on its first line whether the block's lines are.
  char decoration = 0;
  bool decorated = false;
  // On a block's lines: a paragraph begun beside the opener goes on at the
  // opener's column (under a docstring's quotes, or where the block's
  // lines stand) instead of under its text.
  bool underOpener = false;

  // Whether the line belongs to a comment from its first non-blank
  // character to its end: the lines the re-flow and the checks work on.
  bool isWholeLine() const {
    return role == CommentRole::wholeLine || role == CommentRole::blockOpener || role == CommentRole::blockLine;
  }
  bool inBlock() const { return role == CommentRole::blockOpener || role == CommentRole::blockLine; }
  bool operator==(const CommentFacts&) const = default;
  // The marker, given the line.
  std::string_view marker(std::string_view line) const { return line.substr(markerAt, markerSize); }
};

// The facts of every line of a text, by line number from 0. Lines are split
// at '\n'; a trailing '\n' gives a final empty line.
using CommentMap = std::vector<CommentFacts>;

// Whether the line is a whole-line comment; false past the end.
inline bool isWholeLineComment(std::span<const CommentFacts> comments, std::size_t line) {
  return line < comments.size() && comments[line].isWholeLine();
}

}  // namespace brindlewort
