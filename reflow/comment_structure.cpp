#include "reflow/comment_structure.h"

#include <algorithm>

#include "base/space_or_tab.h"
#include "engine/characters.h"
#include "reflow/comment_vocabulary.h"
#include "reflow/source_language.h"

namespace brindlewort {
namespace {

// Lines indented this much beyond the run's prose hold code, as in Markdown.
constexpr std::size_t codeIndent = 4;

// A grid table's border, "+----+" or "+====+": more than an operator
// such as "+=" that a sentence about code may open a line with.
bool isTableBorder(std::string_view text) {
  if (text.size() < 3 || text[0] != '+') return false;
  const std::string_view first = text.substr(0, text.find(' '));
  return first.size() >= 3 && first[0] == '+' && (first[1] == '-' || first[1] == '=') &&
         first.find_first_not_of("+-=:") == std::string_view::npos;
}

// A line of a box drawn with the marker: "#  text  #".
bool isFramed(std::string_view text, const CommentSyntax& syntax) {
  const char marker = syntax.lineMarker.front();
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == marker) --end;
  return end < text.size() && end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t');
}

// Whether two blanks and the line marker stand inside the text.
bool holdsMarkerAfterGap(std::string_view text, const CommentSyntax& syntax) {
  for (std::size_t at = text.find(syntax.lineMarker); at != std::string_view::npos;
       at = text.find(syntax.lineMarker, at + 1)) {
    if (at >= 2 && text[at - 1] == ' ' && text[at - 2] == ' ') return true;
  }
  return false;
}

bool isTableRow(std::string_view text) {
  if (text.starts_with('|') || isTableBorder(text)) return true;
  // Two or more " | ": found by the bar, which prose seldom holds.
  std::size_t pipes = 0;
  for (std::size_t at = text.find('|', 1); at != std::string_view::npos; at = text.find('|', at + 1)) {
    if (text[at - 1] == ' ' && at + 1 < text.size() && text[at + 1] == ' ') ++pipes;
  }
  return pipes >= 2;
}

// Where gaps of two or more spaces end inside the text, in characters from
// the text start; a gap after sentence punctuation is prose spacing.
std::vector<std::size_t> columnGaps(std::string_view text, std::size_t firstTwoSpaces) {
  std::vector<std::size_t> gaps;
  for (std::size_t at = firstTwoSpaces; at != std::string_view::npos; at = findTwoSpaces(text, at)) {
    std::size_t end = at;
    while (end < text.size() && text[end] == ' ') ++end;
    const char before = at > 0 ? text[at - 1] : ' ';
    if (end < text.size() && before != '.' && before != '?' && before != '!' && before != ':')
      gaps.push_back(characterCount(text.substr(0, end)));
    at = end;
  }
  return gaps;
}

bool shareAGap(const std::vector<std::size_t>& a, const std::vector<std::size_t>& b) {
  for (const std::size_t gap : a) {
    if (std::find(b.begin(), b.end(), gap) != b.end()) return true;
  }
  return false;
}

// Where the value after a "key:" starts, in characters from the line's
// text start, and whether a gap of two or more blanks lines it up; 0 when
// the text has no colon followed by a blank in its first 40 characters.
struct ColonValue {
  std::size_t column = 0;
  bool padded = false;
};
ColonValue colonValue(std::string_view text, std::size_t indent) {
  const std::size_t colon = text.substr(0, 40).find(": ");
  if (colon == std::string_view::npos) return {};
  std::size_t end = colon + 1;
  while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
  if (end == text.size()) return {};
  return {indent + characterCount(text.substr(0, end)), end - colon > 2};
}

// The kind of a line judged on its own; prose for everything that may be.
LineKind lineKindAlone(const CommentLine& line) {
  if (line.hasNoText()) return LineKind::blank;
  const std::string_view text = line.text();
  if (isDirective(line)) return LineKind::directive;
  if (line.indent().find('\t') != std::string_view::npos) return LineKind::code;
  const CommentSyntax* syntax = lineSyntaxOf(line.marker);
  if (startsWithMarker(text, syntax != nullptr ? *syntax : slashComments)) return LineKind::nested;
  if (syntax != nullptr && syntax != &slashComments) {
    if (isFramed(text, *syntax)) return LineKind::table;
    // "#set(x)", "#pod =head1": text glued to a '#' is code or a tool's
    // convention, not a sentence; so is "f(x)  -- 42", code with its own
    // comment after it.
    if (line.indent().empty() || holdsMarkerAfterGap(text, *syntax)) return LineKind::code;
  }
  if (isHeading(text)) return LineKind::heading;
  if (isLoneMarker(text)) return LineKind::separator;
  // A markup tag alone ("<p>", "</ul>") sets blocks apart as a rule does.
  if (const std::size_t tag = blockMarkupLength(text); tag > 0 && tag == text.size()) return LineKind::separator;
  if (isTableRow(text) || opensTableMarkup(text)) return LineKind::table;
  if (readsAsDrawing(text)) return LineKind::separator;
  if (readsAsCode(text)) return LineKind::code;
  return LineKind::prose;
}

// Whether a word reads as a name in code rather than an English word:
// snake_case, a qualified name, a call, or a capital inside it.
bool readsAsName(std::string_view word) {
  if (word.find_first_of("_:()") != std::string_view::npos) return true;
  return std::any_of(word.begin() + (word.empty() ? 0 : 1), word.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; });
}

// Marks as a table every stretch of four or more prose lines of one or two
// words each, most of them names, or of one word each ("1996.07.12",
// "3.2.pl0": a list of values).
void markNameColumns(const std::vector<CommentLine>& lines, std::vector<LineKind>& kinds) {
  constexpr std::size_t shortest = 4;
  std::size_t start = 0, names = 0, single = 0;
  auto close = [&](std::size_t end) {
    if (end - start >= shortest && (names * 2 >= end - start || single == end - start))
      std::fill(kinds.begin() + static_cast<std::ptrdiff_t>(start), kinds.begin() + static_cast<std::ptrdiff_t>(end),
                LineKind::table);
  };
  for (std::size_t i = 0; i <= lines.size(); ++i) {
    std::size_t words = 0;
    std::string_view first;
    if (i < lines.size() && kinds[i] == LineKind::prose) {
      const std::string_view text = lines[i].text();
      for (std::size_t at = 0; at < text.size() && words < 3;) {
        while (at < text.size() && isSpaceOrTab(text[at])) ++at;
        const std::size_t end = blankFrom(text, at);
        if (end > at && words++ == 0) first = text.substr(at, end - at);
        at = end;
      }
    }
    if (words == 0 || words > 2) {
      close(i);
      start = i + 1;
      names = single = 0;
      continue;
    }
    if (readsAsName(first)) ++names;
    if (words == 1) ++single;
  }
}

}  // namespace

bool namesALicence(std::string_view text) {
  static constexpr std::string_view words[] = {"copyright", "licence", "license", "spdx-license-identifier"};
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = static_cast<char>(text[at] | 0x20);
    if (c != 'c' && c != 'l' && c != 's') continue;
    for (const std::string_view word : words) {
      if (word[0] != c || text.size() - at < word.size()) continue;
      bool same = true;
      for (std::size_t k = 1; k < word.size() && same; ++k) {
        const char d = text[at + k];
        same = (d >= 'A' && d <= 'Z' ? static_cast<char>(d | 0x20) : d) == word[k];
      }
      if (same) return true;
    }
  }
  return false;
}

namespace {

// The licence header's lines at the start of a run that opens a file: up
// to the first blank line, when they name a licence; else 0.
std::size_t licenceHeaderLines(const std::vector<CommentLine>& lines) {
  // Blank comment lines may stand above the header ("#" then the notice).
  std::size_t end = 0;
  while (end < lines.size() && lines[end].hasNoText()) ++end;
  bool named = false;
  while (end < lines.size() && !lines[end].hasNoText()) {
    named = named || namesALicence(lines[end].text());
    ++end;
  }
  return named ? end : 0;
}

}  // namespace

bool readsAsProse(const CommentLine& line) {
  return line.hasNoText() || (lineKindAlone(line) == LineKind::prose && fenceOf(line.text()).empty());
}

RunStructure analyseRun(const std::vector<CommentLine>& lines, bool& switchedOff) {
  RunContext context;
  context.switchedOff = switchedOff;
  RunStructure structure = analyseRun(lines, context);
  switchedOff = context.switchedOff;
  return structure;
}

RunStructure analyseRun(const std::vector<CommentLine>& lines, RunContext& context) {
  bool& switchedOff = context.switchedOff;
  RunStructure structure;
  structure.kinds.assign(lines.size(), LineKind::prose);
  std::vector<std::size_t> indents(lines.size(), 0);  // characters before the text
  std::vector<bool> wide(lines.size(), false);         // a gap of two blanks or a tab in the text

  // Fences, switched-off regions and line-local kinds first.
  std::string_view openFence;
  std::string_view openVerbatim;  // "@code" ... "@endcode", "<pre>" ... "</pre>"
  std::size_t base = SIZE_MAX;  // the least prose indent: the run's text column
  const std::size_t licence = context.licenceLines > 0 && !switchedOff ? std::min(context.licenceLines, lines.size())
                              : context.opensFile && !switchedOff ? licenceHeaderLines(lines) : 0;
  for (std::size_t i = 0; i < licence; ++i) structure.kinds[i] = LineKind::kept;
  for (std::size_t i = licence; i < lines.size(); ++i) {
    const CommentLine& line = lines[i];
    const std::string_view text = line.text();
    LineKind& kind = structure.kinds[i];
    if (switchedOff) {
      kind = LineKind::switchedOff;
      if (reflowSwitch(text) == Switch::on) switchedOff = false;
      continue;
    }
    if (reflowSwitch(text) == Switch::off) {
      kind = LineKind::switchedOff;
      switchedOff = true;
      continue;
    }
    if (!openVerbatim.empty()) {
      kind = LineKind::fence;
      if (text.find(openVerbatim) != std::string_view::npos) openVerbatim = {};
      continue;
    }
    if (const std::string_view closer = verbatimCloserOf(text); !closer.empty()) {
      kind = LineKind::fence;
      openVerbatim = closer;
      continue;
    }
    if (!openFence.empty()) {
      kind = LineKind::fence;
      const std::string_view fence = fenceOf(text);
      if (!fence.empty() && fence[0] == openFence[0] && fence.size() >= openFence.size() &&
          fence.size() == text.size())
        openFence = {};
      continue;
    }
    if (const std::string_view fence = fenceOf(text); !fence.empty()) {
      kind = LineKind::fence;
      openFence = fence;
      continue;
    }
    kind = lineKindAlone(line);
    if (kind == LineKind::prose && keptByProject(text, context.keepPrefixes)) kind = LineKind::kept;
    if (kind == LineKind::prose) {
      indents[i] = line.textOffset;  // spaces only: a tab makes the line code
      base = std::min(base, indents[i]);
    }
  }

  // A literal block: the lines indented under a line that ends in "::",
  // blank lines among them, are kept as they are.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (structure.kinds[i] != LineKind::prose || !lines[i].text().ends_with("::")) continue;
    std::size_t next = i + 1;
    for (; next < lines.size(); ++next) {
      if (lines[next].hasNoText()) continue;
      if (lines[next].textOffset <= lines[i].textOffset) break;
      if (structure.kinds[next] == LineKind::prose) structure.kinds[next] = LineKind::code;
    }
    i = next - 1;
  }

  // A doctest block: from a line that opens with the interpreter's prompt
  // to the next blank line ("..." lines and the output expected), kept as
  // it is.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = lines[i].text();
    if (structure.kinds[i] != LineKind::prose || !(text == ">>>" || text.starts_with(">>> "))) continue;
    std::size_t next = i;
    for (; next < lines.size() && !lines[next].hasNoText(); ++next) {
      if (structure.kinds[next] == LineKind::prose) structure.kinds[next] = LineKind::code;
    }
    i = next;
  }

  // Columns lined up across neighbouring prose lines make a table, and so
  // do two or more lines in a row of field or column shape. A line that
  // opens with a tag or an entry starts a paragraph instead.
  std::vector<std::size_t> previousGaps, gapsBefore;  // of the line before, and the one before that
  bool previousShaped = false;
  ColonValue previousValue, valueBefore;  // of the line before, and the one before that
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<std::size_t> gaps;
    bool shaped = false;
    ColonValue value;
    if (structure.kinds[i] == LineKind::prose) {
      const std::string_view text = lines[i].text();
      const bool plain = !opensWithTag(text) && !opensEntry(text);
      const std::size_t twoSpaces = findTwoSpaces(text);
      wide[i] = twoSpaces != std::string_view::npos || text.find('\t') != std::string_view::npos;
      if (plain && twoSpaces != std::string_view::npos) gaps = columnGaps(text, twoSpaces);
      for (std::size_t& gap : gaps) gap += indents[i];
      if (shareAGap(gaps, previousGaps)) structure.kinds[i] = structure.kinds[i - 1] = LineKind::table;
      // A row whose columns did not line up, between two that do ("-m*,
      // -t[45]* architecture-specific flags" among options).
      if (i >= 2 && structure.kinds[i - 1] != LineKind::blank && !lines[i - 1].hasNoText() &&
          (structure.kinds[i - 1] == LineKind::prose || structure.kinds[i - 1] == LineKind::table) &&
          shareAGap(gaps, gapsBefore))
        structure.kinds[i] = structure.kinds[i - 1] = structure.kinds[i - 2] = LineKind::table;
      shaped = plain && fieldShaped(text, wide[i]);
      if (shaped && previousShaped) structure.kinds[i] = structure.kinds[i - 1] = LineKind::table;
      // Values lined up after keys of different lengths.
      if (plain) value = colonValue(text, indents[i]);
      if (value.column > 0 && value.column == previousValue.column && (value.padded || previousValue.padded))
        structure.kinds[i] = structure.kinds[i - 1] = LineKind::table;
      // Three values in a row at one column are a table, padded or not
      // ("Last Modified By : x" under "Created On Node  : y").
      if (i >= 2 && value.column > 0 && value.column == previousValue.column && value.column == valueBefore.column)
        structure.kinds[i] = structure.kinds[i - 1] = structure.kinds[i - 2] = LineKind::table;
    }
    gapsBefore = std::move(previousGaps);
    previousGaps = std::move(gaps);
    previousShaped = shaped;
    valueBefore = previousValue;
    previousValue = value;
  }

  // A column of names, one or two words a line ("copy_if (C++11)"), is a
  // list kept line by line, though no line holds a marker.
  markNameColumns(lines, structure.kinds);

  // Paragraphs: a line continues the one before when it is prose at the
  // paragraph's hang and opens with nothing that starts a paragraph.
  constexpr std::size_t none = SIZE_MAX;
  std::size_t open = none;  // index of the paragraph the next line may continue
  for (std::size_t i = 0; i < lines.size(); ++i) {
    LineKind& kind = structure.kinds[i];
    if (kind != LineKind::prose) {
      open = none;
      continue;
    }
    const CommentLine& line = lines[i];
    const std::string_view text = line.text();
    const std::size_t entry = entryMarkerLength(text);
    const std::size_t item = std::max({itemMarkerLength(text), entry, docTagLength(text)});
    const bool starts =
        item > 0 || opensWithTag(text) || (entry == 0 && opensEntry(text)) || blockMarkupLength(text) > 0;
    const bool atHang = open != none && indents[i] == structure.paragraphs[open].hang;
    // Under a tag, at the tag's column as well as under its description.
    const bool underTag = open != none && structure.paragraphs[open].tagged &&
                          indents[i] == indents[structure.paragraphs[open].first];
    if ((atHang || underTag) && !starts) {
      ++structure.paragraphs[open].count;
      structure.paragraphs[open].wideGaps = structure.paragraphs[open].wideGaps || wide[i];
      continue;
    }
    // A deeper line right after a paragraph's only line continues it with
    // its own indentation: a doc item whose continuation is indented more
    // than the item's text. Not after a line that introduces what follows,
    // nor code indented under plain prose.
    if (context.deeperLinesContinue && open != none && !starts && structure.paragraphs[open].count == 1 &&
        indents[i] > structure.paragraphs[open].hang && !lines[i - 1].text().ends_with(':')) {
      Paragraph& paragraph = structure.paragraphs[open];
      const std::size_t first = paragraph.first;
      if (paragraph.hang > indents[first] || opensWithTag(lines[first].text()) ||
          indents[i] < base + codeIndent) {
        paragraph.hang = indents[i];
        ++paragraph.count;
        paragraph.wideGaps = paragraph.wideGaps || wide[i];
        continue;
      }
    }
    // Deeper than prose, and not under an item: an indented code block.
    if (indents[i] >= base + codeIndent && !atHang) {
      kind = LineKind::code;
      open = none;
      continue;
    }
    Paragraph paragraph;
    paragraph.first = i;
    paragraph.count = 1;
    const std::size_t markerEnd = line.lead.size() + line.marker.size();
    paragraph.firstTextStart = markerEnd + line.textOffset + item;
    paragraph.hang = indents[i] + characterCount(text.substr(0, item));
    paragraph.wideGaps = wide[i];
    paragraph.tagged = item > 0 && item == docTagLength(text);
    if (item == 0 && isLoneDocTag(text)) {
      // "@deprecated" alone: the text below is its description, which
      // filling sets after the tag.
      paragraph.tagged = true;
      paragraph.hang = indents[i] + characterCount(text) + 1;
    }
    open = structure.paragraphs.size();
    structure.paragraphs.push_back(paragraph);
    // A tag or a word alone on its line ("SAFETY:", "Arguments:") heads
    // what follows, like a title.
    if (text.size() > 1 && text.ends_with(':') && text.find_first_of(" \t") == std::string_view::npos) open = none;
  }
  return structure;
}

std::string_view kindName(LineKind kind) {
  switch (kind) {
    case LineKind::prose: return "prose";
    case LineKind::blank: return "blank";
    case LineKind::fence: return "fence";
    case LineKind::code: return "code";
    case LineKind::table: return "table";
    case LineKind::separator: return "separator";
    case LineKind::directive: return "directive";
    case LineKind::heading: return "heading";
    case LineKind::nested: return "nested";
    case LineKind::switchedOff: return "switched-off";
    case LineKind::kept: return "kept";
  }
  return "prose";
}

}  // namespace brindlewort
