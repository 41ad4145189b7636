#pragma once

// What each line of a comment run is: prose that may be re-flowed, grouped
// into paragraphs, or structure that is kept byte for byte (fenced and
// indented code, tables and diagrams, separators, directives, headings,
// nested comments, regions switched off).

#include <cstddef>
#include <span>
#include <string>
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
  switchedOff, // inside "brindle: off" ... "brindle: on"
  kept         // a licence header, or a line opening with a project's "keep" prefix
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
  // Opened by a doc tag ("@param name text"): lines at the tag's column
  // or under its description continue it, and filling sets them under the
  // description.
  bool tagged = false;
  // The other paragraphs of the run set two blanks after a sentence:
  // filling keeps to that where this one shows neither way.
  bool twoSpacedRun = false;
  // How this paragraph sets sentences apart, once looked at.
  bool spacingKnown = false;
  bool twoSpaced = false;
  bool oneSpaced = false;
  // Some line has a gap of two or more blanks or a tab between words:
  // joining must then look at each gap.
  bool wideGaps = true;
};

struct RunStructure {
  std::vector<LineKind> kinds;  // one per line
  std::vector<Paragraph> paragraphs;
};

// What the analysis of a run needs to know beyond its lines.
struct RunContext {
  // Carries "brindle: off" from one run to the next; updated.
  bool switchedOff = false;
  // The run opens the file: its leading lines up to the first blank one
  // are a licence header, kept as they are, when they name a copyright, a
  // licence or an SPDX identifier.
  bool opensFile = false;
  // How many of the run's first lines belong to the licence at the file's
  // top, blank lines and all.
  std::size_t licenceLines = 0;
  // A line indented deeper than the line before, the only one of its
  // paragraph so far, continues that paragraph at its own indentation: how
  // breaking only over-long lines keeps a doc item together. Filling and
  // joining instead keep such lines apart, so that a paragraph joined into
  // one line fills the same again.
  bool deeperLinesContinue = false;
  // A project's own "keep this line" prefixes.
  std::span<const std::string> keepPrefixes;
};

// Analyses the lines of one run (same lead and marker on every line).
RunStructure analyseRun(const std::vector<CommentLine>& lines, RunContext& context);

// The same, for callers that carry only the switch.
RunStructure analyseRun(const std::vector<CommentLine>& lines, bool& switchedOff);

// Whether the text names a copyright, a licence or an SPDX identifier.
bool namesALicence(std::string_view text);

// True when a line read on its own is prose: re-flow checks the lines it
// makes, so that joining words never turns prose into a table or a rule.
bool readsAsProse(const CommentLine& line);

// A short name for a kind, for reports.
std::string_view kindName(LineKind kind);

}  // namespace brindlewort
