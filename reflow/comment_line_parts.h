#pragma once

// One comment line taken apart: what stands before the marker, the marker
// itself, and the body after it. Every part is a view into the line. In a
// block comment the marker is the opener or the decoration, and a closer
// at the line's end is left out of the body.

#include <cstddef>
#include <string_view>

#include "reflow/comment_facts.h"

namespace brindlewort {

struct CommentLine {
  std::string_view line;    // the whole line, without its line end
  std::string_view lead;    // blanks before the marker
  std::string_view marker;  // "//", "///", "#", "--", ";;"...; "/*", " *"... in a block
  std::string_view body;    // everything after the marker, but a closer
  // A block's closer that ends the line ("*/"), which stays after the last
  // word when the line's paragraph is re-flowed.
  std::string_view closer;
  // For a block's first line: the lead and marker of the line below it,
  // which its paragraph goes on with ("/* " above " * "), when there is one.
  std::string_view continuation;
  bool opensBlock = false;
  char decoration = 0;     // in a block: the byte that may decorate its lines
  bool decorated = false;  // on a block's first line: whether its lines are
  bool underOpener = false;  // in a block: its lines go on at the opener's column
  // Offset in `body` of the first character that is not a blank; body.size()
  // for a blank comment line.
  std::size_t textOffset = 0;

  bool hasNoText() const { return textOffset == body.size(); }
  // The body from its first non-blank character, trailing blanks dropped.
  std::string_view text() const;
  // The blanks between the marker and the text.
  std::string_view indent() const { return body.substr(0, textOffset); }
};

// True for a line whose first non-blank characters are "//".
bool startsWithLineComment(std::string_view line);

// Takes a comment line apart by the syntax its marker belongs to (see
// lineSyntaxOf). "///" and "//!" are doc markers; four or more slashes are
// "//" followed by text, so that a "////////" rule stays text. The other
// markers are their whole run: "##", ";;;", "---".
CommentLine splitCommentLine(std::string_view line);

// Takes a line apart by the lexer's facts for it, which say where its
// marker stands: a line comment in any syntax, or a block comment's line.
CommentLine splitCommentLine(std::string_view line, const CommentFacts& facts);

}  // namespace brindlewort
