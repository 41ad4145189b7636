#pragma once

// One line comment's line taken apart: what stands before the marker, the
// marker itself, and the body after it. Every part is a view into the line.

#include <cstddef>
#include <string_view>

namespace brindlewort {

struct CommentLine {
  std::string_view line;    // the whole line, without its line end
  std::string_view lead;    // blanks before the marker
  std::string_view marker;  // "//", "///", "//!", "#", "##", "--", ";;", "%"...
  std::string_view body;    // everything after the marker
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

}  // namespace brindlewort
