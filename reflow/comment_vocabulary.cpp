#include "reflow/comment_vocabulary.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <array>
#include <cstdint>
#include <cstring>

#include "base/space_or_tab.h"
#include "engine/characters.h"
#include "reflow/line_kind_tables.h"
#include "reflow/source_language.h"

namespace brindlewort {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLetter(char c) { return isLower(c) || isUpper(c); }

// The bare marker at the start of a word: its length, or 0.
std::size_t bareItemMarker(std::string_view word) {
  if (word.starts_with("•")) return std::string_view("•").size();
  if (word.empty()) return 0;
  if (word[0] == '-' || word[0] == '*' || word[0] == '+') return 1;
  std::size_t digits = 0;
  while (digits < word.size() && digits < 4 && isDigit(word[digits])) ++digits;
  if (digits > 0 && digits < word.size() && (word[digits] == '.' || word[digits] == ')'))
    return digits + 1;
  if (word.size() >= 2 && isLower(word[0]) && word[1] == ')') return 2;
  if (word[0] == '(') {
    std::size_t inside = 1;
    while (inside < word.size() && inside < 5 && isDigit(word[inside])) ++inside;
    if (inside == 1 && word.size() > 1 && isLetter(word[1])) inside = 2;
    if (inside > 1 && inside < word.size() && word[inside] == ')') return inside + 1;
  }
  return 0;
}

// "2025-09-18", "2019/1/7": a date, and where it ends; 0 when the text
// does not open with one followed by something other than a name.
std::size_t dateLength(std::string_view text) {
  std::size_t at = 0;
  auto digits = [&](std::size_t least, std::size_t most) {
    const std::size_t start = at;
    while (at < text.size() && at - start < most && isDigit(text[at])) ++at;
    return at - start >= least;
  };
  if (!digits(4, 4)) return 0;
  for (int part = 0; part < 2; ++part) {
    if (at >= text.size() || (text[at] != '-' && text[at] != '/' && text[at] != '.')) return 0;
    ++at;
    if (!digits(1, 2)) return 0;
  }
  if (at < text.size() && (isLetter(text[at]) || isDigit(text[at]) || text[at] == '_')) return 0;
  return at;
}

// The opener of a dated entry ("2025-09-18: ", "- 2021-01-02 ",
// "2.27  (2021-07-11) ", "v1.4 2020-1-2 ") without the blanks after it, or 0.
std::size_t datedOpener(std::string_view text) {
  std::size_t at = 0;
  if (text.size() > 2 && (text[0] == '-' || text[0] == '*') && isSpaceOrTab(text[1])) {
    at = 1;
    while (at < text.size() && isSpaceOrTab(text[at])) ++at;
  }
  if (std::size_t date = dateLength(text.substr(at)); date > 0) {
    at += date;
  } else {
    // A version first: v?digits(.digits)+[a-z]?, blanks, maybe "(".
    std::size_t v = at;
    if (v < text.size() && text[v] == 'v') ++v;
    std::size_t parts = 0;
    for (;;) {
      const std::size_t start = v;
      while (v < text.size() && isDigit(text[v])) ++v;
      if (v == start) return 0;
      ++parts;
      if (v < text.size() && text[v] == '.' && v + 1 < text.size() && isDigit(text[v + 1])) {
        ++v;
        continue;
      }
      break;
    }
    if (parts < 2) return 0;
    if (v < text.size() && isLower(text[v])) ++v;
    const std::size_t blanks = v;
    while (v < text.size() && isSpaceOrTab(text[v])) ++v;
    if (v == blanks) return 0;
    if (v < text.size() && text[v] == '(') ++v;
    const std::size_t dated = dateLength(text.substr(v));
    if (dated == 0) return 0;
    at = v + dated;
  }
  if (at < text.size() && text[at] == ')') ++at;
  if (at < text.size() && text[at] == ':') ++at;
  return at;
}

// The opener of a checkbox item ("[ ] ", "- [x] ") without the blanks after
// it, or 0.
std::size_t checkboxOpener(std::string_view text) {
  std::size_t at = 0;
  if (text.size() > 2 && (text[0] == '-' || text[0] == '*' || text[0] == '+') && isSpaceOrTab(text[1])) {
    at = 1;
    while (at < text.size() && isSpaceOrTab(text[at])) ++at;
  }
  if (text.size() < at + 4 || text[at] != '[' || text[at + 2] != ']' || !isSpaceOrTab(text[at + 3])) return 0;
  const char mark = text[at + 1];
  return mark == ' ' || mark == 'x' || mark == 'X' ? at + 3 : 0;
}

// A tag of capitals: "REQUIRES:", "SAFETY(unsafe):", "TODO_1:" followed by
// a blank or nothing.
bool opensWithCapitalsTag(std::string_view text) {
  if (text.size() < 3 || !isUpper(text[0])) return false;
  std::size_t at = 1;
  while (at < text.size() && (isUpper(text[at]) || isDigit(text[at]) || text[at] == '_')) ++at;
  if (at < 2) return false;
  if (at < text.size() && text[at] == '(') {
    const std::size_t close = text.find(')', at);
    if (close == std::string_view::npos) return false;
    at = close + 1;
  }
  return at < text.size() && text[at] == ':' && (at + 1 == text.size() || isSpaceOrTab(text[at + 1]));
}

bool wordReadsAsCode(std::string_view word) {
  if (!mayReadAsCode(word)) return false;
  for (const CodeRule& rule : codeRules()) {
    if (rule.judgesWords && rule.matches(word)) return true;
  }
  return false;
}

}  // namespace

std::size_t itemMarkerLength(std::string_view text) {
  const std::size_t marker = bareItemMarker(text);
  if (marker == 0 || marker >= text.size() || !isSpaceOrTab(text[marker])) return 0;
  std::size_t end = marker;
  while (end < text.size() && isSpaceOrTab(text[end])) ++end;
  return end < text.size() ? end : 0;
}

std::size_t docTagLength(std::string_view text) {
  if (text.size() < 2 || (text[0] != '@' && text[0] != '\\') || !isLetter(text[1])) return 0;
  std::size_t at = 1;
  while (at < text.size() && isLetter(text[at])) ++at;
  const std::string_view tag = text.substr(1, at - 1);
  if (at < text.size() && text[at] == '[') {  // \param[in]
    const std::size_t close = text.find(']', at);
    if (close == std::string_view::npos) return 0;
    at = close + 1;
  }
  auto skipBlanks = [&] {
    const std::size_t from = at;
    while (at < text.size() && isSpaceOrTab(text[at])) ++at;
    return at > from;
  };
  if (!skipBlanks()) return 0;
  if (at < text.size() && text[at] == '{') {  // a JSDoc type stays with its tag
    const std::size_t close = text.find('}', at);
    if (close == std::string_view::npos) return 0;
    at = close + 1;
    if (!skipBlanks()) return 0;
  }
  if (std::binary_search(namingDocTags().begin(), namingDocTags().end(), tag)) {
    while (at < text.size() && !isSpaceOrTab(text[at])) ++at;
    if (!skipBlanks()) return 0;
  }
  return at < text.size() ? at : 0;
}

namespace {

// The name of the markup tag the text opens with, in lower case, and where
// it ends; empty when the text does not open with one.
std::pair<std::string, std::size_t> markupTagOf(std::string_view text) {
  if (text.size() < 3 || text[0] != '<') return {};
  std::size_t at = text[1] == '/' ? 2 : 1;
  std::string name;
  while (at < text.size() && (isLetter(text[at]) || (text[at] >= '0' && text[at] <= '9')) && name.size() < 12)
    name += static_cast<char>(text[at++] | 0x20);
  if (at >= text.size() || (text[at] != '>' && !isSpaceOrTab(text[at]) && text[at] != '/')) return {};
  return {name, at};
}

}  // namespace

bool opensTableMarkup(std::string_view text) {
  const std::string name = markupTagOf(text).first;
  return !name.empty() && std::binary_search(tableMarkupTags().begin(), tableMarkupTags().end(), name);
}

std::size_t blockMarkupLength(std::string_view text) {
  const auto [name, at] = markupTagOf(text);
  if (name.empty() || !std::binary_search(blockMarkupTags().begin(), blockMarkupTags().end(), name)) return 0;
  // Attributes may go on to the next line.
  const std::size_t close = text.find('>', at);
  return close == std::string_view::npos ? text.size() : close + 1;
}

bool isLoneDocTag(std::string_view text) {
  if (text.size() < 2 || (text[0] != '@' && text[0] != '\\')) return false;
  return std::all_of(text.begin() + 1, text.end(), [](char ch) { return isLetter(ch); });
}

std::string_view verbatimCloserOf(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> regions[] = {
      {"<pre>", "</pre>"},      {"<pre ", "</pre>"},        {"@code", "@endcode"},
      {"\\code", "\\endcode"}, {"@verbatim", "@endverbatim"}, {"\\verbatim", "\\endverbatim"}};
  for (const auto& [opener, closer] : regions) {
    if (text.starts_with(opener) && text.find(closer) == std::string_view::npos &&
        (opener.back() == ' ' || text.size() == opener.size() || !isLetter(text[opener.size()])))
      return closer;
  }
  return {};
}

bool isLoneMarker(std::string_view text) {
  if (!text.empty() && bareItemMarker(text) == text.size()) return true;
  return !text.empty() && text.size() <= 6 && text.find_first_not_of('#') == std::string_view::npos;
}

bool opensWithTag(std::string_view text) {
  if (text.size() >= 2 && (text[0] == '@' || text[0] == '\\') && isLetter(text[1])) return true;
  if (text.empty() || !isUpper(text[0])) return false;
  if (opensWithCapitalsTag(text)) return true;
  if (const std::string_view tag = prefixFrom(shoutedTags(), text);
      !tag.empty() && (text.size() == tag.size() || !isLetter(text[tag.size()])))
    return true;
  const std::string_view tag = prefixFrom(namedTags(), text);
  return !tag.empty() && text.size() > tag.size() && text[tag.size()] == ':';
}

std::size_t findTwoSpaces(std::string_view text, std::size_t from) {
  // Eight bytes at a time: a mark in the high bit of each byte that is a
  // space, and a pair of marks side by side (or the first byte's mark after
  // a space that ended the eight before) finds the run.
  constexpr std::uint64_t spaces = 0x2020202020202020ULL, low7 = 0x7F7F7F7F7F7F7F7FULL;
  std::size_t at = from;
  bool spaceBefore = false;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t bytes;
    std::memcpy(&bytes, text.data() + at, 8);
    const std::uint64_t x = bytes ^ spaces;
    const std::uint64_t marks = ~(((x & low7) + low7) | x | low7);
    if (marks == 0) {
      spaceBefore = false;
      continue;
    }
    if ((marks & (marks >> 8)) != 0 || (spaceBefore && (marks & 0x80) != 0)) break;
    spaceBefore = (marks >> 63) != 0;
  }
  // Back one byte for a run that straddles the last eight.
  if (at > from && text[at - 1] == ' ') --at;
  for (; at + 1 < text.size(); ++at) {
    if (text[at] == ' ' && text[at + 1] == ' ') return at;
  }
  return std::string_view::npos;
}

bool isHeading(std::string_view text) {
  std::size_t hashes = 0;
  while (hashes < text.size() && text[hashes] == '#') ++hashes;
  return hashes >= 1 && hashes <= 6 && hashes < text.size() && isSpaceOrTab(text[hashes]);
}

std::string_view fenceOf(std::string_view text) {
  if (text.size() < 3 || (text[0] != '`' && text[0] != '~')) return {};
  std::size_t run = 0;
  while (run < text.size() && text[run] == text[0]) ++run;
  return run >= 3 ? text.substr(0, run) : std::string_view();
}

bool isDirective(const CommentLine& line) {
  const std::string_view text = line.text();
  if (text.empty()) return false;
  // A block line without decoration or a docstring line has only blanks
  // for a marker: nothing is glued to it.
  const bool gluedToMarker =
      line.textOffset == 0 && line.marker.find_first_not_of(" \t") != std::string_view::npos;
  if (gluedToMarker) {
    // "//go:generate", "//nolint:errcheck", "//export Name", "//line a.go:1":
    // tools read a word glued to the marker.
    std::size_t word = 0;
    while (word < text.size() && (isLower(text[word]) || isDigit(text[word]) ||
                                  text[word] == '_' || text[word] == '-' || text[word] == '.'))
      ++word;
    if (word > 0 && word < text.size() && text[word] == ':') return true;
    for (const std::string_view glued : gluedDirectiveWords()) {
      if (text.starts_with(glued) &&
          (text.size() == glued.size() || text[glued.size()] == ' ' || text[glued.size()] == '\t'))
        return true;
    }
  }
  return !directivePrefixOf(text).empty();
}

bool keptByProject(std::string_view text, std::span<const std::string> prefixes) {
  for (const std::string& prefix : prefixes) {
    if (!prefix.empty() && text.starts_with(prefix)) return true;
  }
  return false;
}

std::size_t entryMarkerLength(std::string_view text) {
  std::size_t opener = datedOpener(text);
  if (opener == 0) opener = checkboxOpener(text);
  if (opener == 0) return 0;
  std::size_t end = opener;
  while (end < text.size() && isSpaceOrTab(text[end])) ++end;
  return end < text.size() ? end : 0;
}

bool opensEntry(std::string_view text) { return datedOpener(text) > 0 || checkboxOpener(text) > 0; }

bool fieldShaped(std::string_view text) {
  return fieldShaped(text, findTwoSpaces(text) != std::string_view::npos ||
                               text.find('\t') != std::string_view::npos);
}

bool fieldShaped(std::string_view text, bool wideGaps) {
  // "key: value" with a key of one word (dots, dashes and slashes allowed),
  // or of several named together ("left_only, right_only: ...").
  auto keyByte = [&](std::size_t at) {
    return isLetter(text[at]) || isDigit(text[at]) || text[at] == '_' || text[at] == '.' || text[at] == '-' ||
           text[at] == '/' || static_cast<unsigned char>(text[at]) >= 0x80;
  };
  std::size_t key = 0;
  for (;;) {
    while (key < text.size() && key <= 40 && keyByte(key)) ++key;
    if (key == 0 || key + 2 >= text.size() || text[key] != ',' || text[key + 1] != ' ' || !keyByte(key + 2)) break;
    key += 2;
  }
  if (key > 0 && key <= 40 && key + 2 < text.size() && text[key] == ':' && isSpaceOrTab(text[key + 1])) {
    std::size_t value = key + 1;
    while (value < text.size() && isSpaceOrTab(text[value])) ++value;
    if (value < text.size()) return true;
  }
  // Columns: a gap of two or more after a colon, or of a tab or three or
  // more spaces between words.
  if (!wideGaps) return false;
  for (std::size_t at = findTwoSpaces(text); at != std::string_view::npos; at = findTwoSpaces(text, at)) {
    std::size_t end = at;
    while (end < text.size() && isSpaceOrTab(text[end])) ++end;
    if (end == text.size()) break;
    if (end - at >= 3 || (at > 0 && text[at - 1] == ':')) return true;
    at = end;
  }
  for (std::size_t tab = text.find('\t'); tab != std::string_view::npos; tab = text.find('\t', tab + 1)) {
    if (tab > 0 && !isSpaceOrTab(text[tab - 1]) && text.find_first_not_of(" \t", tab) != std::string_view::npos)
      return true;
  }
  return false;
}

Switch reflowSwitch(std::string_view text) {
  if (text == reflowOffSwitch) return Switch::off;
  if (text == reflowOnSwitch) return Switch::on;
  return Switch::none;
}

bool canOpenLine(std::string_view word, bool touchesMarker, const CommentSyntax& syntax) {
  if (word.empty()) return true;
  if (touchesMarker) {
    // Glued to the marker, the word's first byte would lengthen it.
    if (word[0] == syntax.lineMarker.back()) return false;
    for (const std::string_view doc : syntax.docMarkers) {
      if (!doc.empty() && word[0] == doc.back()) return false;
    }
  }
  if (word.starts_with("{@")) return true;  // an inline doc tag
  if (blockMarkupLength(word) > 0) return false;  // it would open a block
  if (isLoneMarker(word) || opensWithTag(word) || !fenceOf(word).empty()) return false;
  if (startsWithMarker(word, syntax) || word[0] == '|' || word[0] == '>')
    return false;
  if (wordReadsAsCode(word) || readsAsDrawing(word)) return false;
  // A date or a checkbox would open an entry.
  if (dateLength(word) > 0 || word == "[x]" || word == "[X]") return false;
  return directivePrefixOf(word).empty();
}

namespace {

// Whether three like bytes stand in a row anywhere in the text; eight
// offsets are compared at a time.
bool hasThreeAlike(std::string_view text) {
  constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
  std::size_t at = 0;
  for (; at + 10 <= text.size(); at += 8) {
    std::uint64_t a, b, c;
    std::memcpy(&a, text.data() + at, 8);
    std::memcpy(&b, text.data() + at + 1, 8);
    std::memcpy(&c, text.data() + at + 2, 8);
    const std::uint64_t x = (a ^ b) | (b ^ c);  // a zero byte where three match
    if (~(((x & low7) + low7) | x | low7) != 0) return true;
  }
  for (; at + 2 < text.size(); ++at) {
    if (text[at] == text[at + 1] && text[at] == text[at + 2]) return true;
  }
  return false;
}

// Box drawing and block elements, U+2500 to U+259F: E2 94 80 to E2 96 9F.
bool hasBoxCharacter(std::string_view text) {
  for (std::size_t at = text.find('\xE2'); at != std::string_view::npos; at = text.find('\xE2', at + 1)) {
    if (at + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[at + 1]);
      if (next >= 0x94 && next <= 0x96) return true;
    }
  }
  return false;
}

}  // namespace

// Rules of punctuation ("-----", "=== x ==="), drawings with few letters,
// and anything drawn with box characters. A drawing with labels needs a
// stroke of three like characters, so that prose punctuation never makes
// one.
bool readsAsDrawing(std::string_view text) {
  std::size_t visible = 0, wordish = 0, stroke = 1, longestStroke = 0;
  UChar32 last = 0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
  // Without box characters a line is settled as prose once its word
  // characters are too many for the rest to outweigh them.
  const bool ascii = asciiRunEnd(text, 0) == text.size() || !hasBoxCharacter(text);
  if (ascii && !hasThreeAlike(text)) {
    // No stroke of three: only text without a word character draws (any
    // character beyond ASCII counts as one).
    for (const char c : text) {
      if (c == ' ' || c == '\t') continue;
      if (isLetter(c) || isDigit(c) || c == '\'' || c == '"' || c == ',' || c == '.' ||
          static_cast<unsigned char>(c) >= 0x80)
        return false;
      ++visible;
    }
    return visible >= 3;
  }
  for (std::int32_t i = 0; i < length;) {
    if (ascii && wordish * 10 >= (visible + static_cast<std::size_t>(length - i)) * 4) return false;
    UChar32 c = bytes[i];
    if (c < 0x80) {
      ++i;  // most comment text is ASCII: no decoding needed
    } else {
      U8_NEXT(bytes, i, length, c);
    }
    if (c == ' ' || c == '\t') {
      last = 0;
      continue;
    }
    ++visible;
    if (c >= 0x2500 && c <= 0x259F) return true;  // box drawing and block elements
    // Letters, digits and anything beyond ASCII (scripts, emoji) are words;
    // a stroke is a run of one ASCII mark.
    const bool letter = c < 0 || c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9');
    if (letter || c == '\'' || c == '"' || c == ',' || c == '.') ++wordish;
    stroke = !letter && c == last ? stroke + 1 : 1;
    longestStroke = std::max(longestStroke, stroke);
    last = c;
  }
  // Few visible characters are too little to judge by; "--" or "..." alone
  // is prose punctuation.
  if (visible < 3) return false;
  return wordish == 0 || (wordish * 10 < visible * 4 && longestStroke >= 3);
}

bool canCloseLine(std::string_view word) { return !wordReadsAsCode(word); }

bool readsAsCode(std::string_view text) {
  if (!mayReadAsCode(text)) return false;
  for (const CodeRule& rule : codeRules()) {
    if (rule.matches(text)) return true;
  }
  return false;
}

}  // namespace brindlewort
