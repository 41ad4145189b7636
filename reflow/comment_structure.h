#pragma once

// What each line of a comment run is: prose that may be re-flowed, grouped
// into paragraphs, or structure that is kept byte for byte (fenced and
// indented code, tables and diagrams, separators, directives, headings,
// nested comments, regions switched off).

#include <cstddef>
#include <string_view>
#include <vector>

#include "reflow/comment_line_parts.h"

namespace brindlewort {

enum class LineKind {
  prose,       // part of a paragraph
  blank,       // the marker alone: separates paragraphs
  fence,       // a fence line or a line inside a fenced block
  code,        // an indented code block, or a line that reads as code
  table,       // table rows, box drawings, columns lined up across lines
  separator,   // a rule of punctuation, or a drawing with few letters
  directive,   // a line for a tool
  heading,     // a Markdown heading
  nested,      // a comment inside the comment ("// // x")
  switchedOff  // inside "brindle: off" ... "brindle: on"
};

// A run of prose lines re-flowed together.
struct Paragraph {
  std::size_t first = 0;  // index of its first line in the run
  std::size_t count = 0;
  // Bytes of the first line before its first word: lead, marker, blanks and
  // an item marker with the blanks after it.
  std::size_t firstTextStart = 0;
  // Characters from the marker's end to where continuation lines start
  // their text: under the item's text for list items.
  std::size_t hang = 0;
};

struct RunStructure {
  std::vector<LineKind> kinds;  // one per line
  std::vector<Paragraph> paragraphs;
};

// Analyses the lines of one run (same lead and marker on every line).
// `switchedOff` carries "brindle: off" from one run to the next and is
// updated.
RunStructure analyseRun(const std::vector<CommentLine>& lines, bool& switchedOff);

// True when a line read on its own is prose: re-flow checks the lines it
// makes, so that joining words never turns prose into a table or a rule.
bool readsAsProse(const CommentLine& line);

// A short name for a kind, for reports.
std::string_view kindName(LineKind kind);

}  // namespace brindlewort
