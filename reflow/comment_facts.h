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
  code,       // no comment the re-flow or the checks may touch
  wholeLine,  // a line comment with nothing but blanks before its marker
};

struct CommentFacts {
  // Where the marker starts, a byte offset into the line. Lines are far
  // shorter than 4 GB; the lexer calls a line whose marker would sit
  // further in code.
  std::uint32_t markerAt = 0;
  std::uint8_t markerSize = 0;  // "//" 2, a doc marker 3
  CommentRole role = CommentRole::code;

  bool isWholeLine() const { return role == CommentRole::wholeLine; }
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
