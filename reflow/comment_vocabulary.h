#pragma once

// The words and marks that give a comment line a role beyond prose: list
// item markers, tags that open a paragraph, fences, headings and tool
// directives. Every rule that asks "is this special?" asks here, so the
// re-flow that breaks lines and the analysis that reads them back agree.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "reflow/comment_line_parts.h"
#include "reflow/source_language.h"

namespace brindlewort {

// The length of a list item marker at the start of `text` ("-", "*", "+",
// "•", "1.", "1)", "(1)", "a)", "(a)") together with the blanks after it;
// 0 when the text does not open with one followed by a blank and more text.
std::size_t itemMarkerLength(std::string_view text);

// True for a lone list item marker or heading mark with nothing after it:
// words joined after it would turn the line into an item or a heading.
bool isLoneMarker(std::string_view text);

// True when the text opens with a tag that starts a paragraph of its own:
// TODO, FIXME, NOTE, XXX and their kin, any word of two or more capitals
// (digits and '_' allowed, maybe followed by "(name)") and a colon, such as
// "REQUIRES:", doc tags such as "@param" and "\brief".
bool opensWithTag(std::string_view text);

// The length of a doc tag at the start of `text` with what the description
// hangs after: "@param name ", "@param {string} name ", "\\param[in] name ",
// "@return ", "@throws Error "; 0 when no description follows.
std::size_t docTagLength(std::string_view text);

// The length of a block markup tag the text opens with ("<p>", "</li>",
// '<table class="x">'), or 0.
std::size_t blockMarkupLength(std::string_view text);

// Whether the text opens with a table's markup tag ("<td>", "</tr>").
bool opensTableMarkup(std::string_view text);

// A doc tag alone: "@deprecated", "\\brief".
bool isLoneDocTag(std::string_view text);

// The text that closes a verbatim region a line opens ("@code" ...
// "@endcode", "<pre>" ... "</pre>"), or empty.
std::string_view verbatimCloserOf(std::string_view text);

// Where the first run of two or more spaces starts at or after `from`, or
// npos. Most comment text has none: each byte is looked at once, with no
// call per word.
std::size_t findTwoSpaces(std::string_view text, std::size_t from = 0);

// A Markdown heading: one to six '#' and a blank.
bool isHeading(std::string_view text);

// The fence a line opens or closes (``` or ~~~ and longer runs), or empty.
std::string_view fenceOf(std::string_view text);

// A line for a tool rather than a reader: compiler and linter directives,
// formatter switches, editor mode lines.
bool isDirective(const CommentLine& line);

// The length of the opener of a dated entry ("2025-09-18: ",
// "2.27  (2021-07-11) ") or of a checkbox item ("[x] ", "- [ ] "), with the
// blanks after it; 0 when the text opens with neither or nothing follows.
// Each starts an item of its own.
std::size_t entryMarkerLength(std::string_view text);

// Whether the text opens a dated entry or a checkbox item, with or without
// text after the opener.
bool opensEntry(std::string_view text);

// The shape of a row of a field list or of lined-up columns: "key: value"
// with a one-word key, a gap of two or more blanks after a colon, or a tab
// or three or more spaces between words. Two such lines in a row are a
// table.
bool fieldShaped(std::string_view text);
// The same for a text known to have (or not) a gap of two or more blanks
// or a tab somewhere: without one, only a "key: value" start can count.
bool fieldShaped(std::string_view text, bool wideGaps);

// True when the text opens with one of a project's own "keep this line"
// prefixes, compared literally.
bool keptByProject(std::string_view text, std::span<const std::string> prefixes);

// "brindle: off" and "brindle: on" leave the lines between them alone.
enum class Switch { none, off, on };
Switch reflowSwitch(std::string_view text);

// Whether a word may open a continuation line: false for anything that
// would then read as an item marker, tag, heading, fence, nested comment,
// table edge or directive. `touchesMarker` says the line has no blank
// between the marker and the text, where a leading byte of a longer marker
// ('/' or '!' after "//", '#' or ':' after '#') would change the marker.
bool canOpenLine(std::string_view word, bool touchesMarker, const CommentSyntax& syntax = slashComments);

// Whether a word may close a line that continues: false for words ending
// like a statement or a block (";", "{", "}", "*/"), after which the line
// would read as code.
bool canCloseLine(std::string_view word);

// Rules of punctuation ("-----", "=== x ==="), drawings with few letters,
// and anything drawn with box characters.
bool readsAsDrawing(std::string_view text);

// Whether a line's text reads as code by any rule of codeRules():
// commented-out statements, calls, declarations, blocks, closing brackets,
// control flow also as pseudo-code, and preprocessor lines.
bool readsAsCode(std::string_view text);

}  // namespace brindlewort
