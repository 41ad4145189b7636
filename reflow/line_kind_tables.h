#pragma once

// The words and shapes that make a comment line something other than
// prose, as data: directive prefixes, tags, the switch that turns re-flow
// off, and the rules by which a line reads as code. Each table is sorted
// and has no duplicates, so that adding an entry is one line in one place.

#include <span>
#include <string_view>

namespace brindlewort {

// The entry of a sorted table that the text opens with, or empty. Only
// the entries sharing the text's first byte are compared.
std::string_view prefixFrom(std::span<const std::string_view> sortedTable, std::string_view text);

// The entry of directivePrefixes() the text opens with, or empty: the same
// as prefixFrom on that table, by an index of first bytes, since it is
// asked for every line and every word that may open one.
std::string_view directivePrefixOf(std::string_view text);

// Text prefixes of lines for a tool (after "// " or glued to the marker).
std::span<const std::string_view> directivePrefixes();

// Words a tool reads glued to the marker and followed by a blank or
// nothing ("//export Name", "//line a.go:1").
std::span<const std::string_view> gluedDirectiveWords();

// Tags that open a paragraph whatever follows them.
std::span<const std::string_view> shoutedTags();

// Tags that open a paragraph when a colon follows.
std::span<const std::string_view> namedTags();

// Doc tags whose first word after the tag is a name (or a type) that the
// description follows: "@param name text".
std::span<const std::string_view> namingDocTags();

// Markup tags that set text apart as blocks ("<p>", "<li>", "</ul>", and
// C#'s "<summary>", '<param name="x">'), in lower case: a line opening with
// one starts a paragraph, and one alone on its line stays a line.
std::span<const std::string_view> blockMarkupTags();

// Markup tags of a table ("<tr>", "<td>"), in lower case: a line opening
// with one is a row of a table and stays a line.
std::span<const std::string_view> tableMarkupTags();

// Words a statement or a declaration opens with: a short line ending in
// ";" that opens with one is code, not the end of a sentence.
std::span<const std::string_view> statementWords();

// The lines that leave the lines between them alone, and start re-flow
// again.
inline constexpr std::string_view reflowOffSwitch = "brindle: off";
inline constexpr std::string_view reflowOnSwitch = "brindle: on";

// One way a comment line reads as code.
struct CodeRule {
  std::string_view name;
  bool (*matches)(std::string_view text);  // text: from the first non-blank, no trailing blanks
  // Whether the rule also judges a single word at a line's edge: a word it
  // matches may not open or close a re-flowed line.
  bool judgesWords;
};

// Sorted by name.
std::span<const CodeRule> codeRules();

// Whether any of codeRules() could match the text: each needs a certain
// first or last byte, or a '=' or a '{' inside. Most prose fails this
// quick test, and need not be put to every rule.
bool mayReadAsCode(std::string_view text);

}  // namespace brindlewort
