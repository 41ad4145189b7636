#include "reflow/comment_vocabulary.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <array>
#include <cstdint>

#include "base/space_or_tab.h"
#include "engine/characters.h"
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

// Tags that open a paragraph whatever follows them.
constexpr std::array<std::string_view, 9> shoutedTags{"TODO", "FIXME", "NOTE", "XXX", "HACK",
                                                     "BUG", "WARNING", "SAFETY", "MARK"};
// Tags that open a paragraph when a colon follows.
constexpr std::array<std::string_view, 7> namedTags{"Note", "Warning", "Safety", "Important",
                                                   "Deprecated", "Invariant", "Precondition"};

// Text prefixes of directives written after "// ". Kept in one list so that
// adding a tool is one line.
constexpr std::array<std::string_view, 32> directivePrefixes{
    "NOLINT",           "clang-format off", "clang-format on",   "swiftlint:",
    "swift-format-ignore", "gofail:",       "eslint-disable",    "eslint-enable",
    "@ts-",             "prettier-ignore",  "IWYU pragma:",      "cppcheck-suppress",
    "NOSONAR",          "coverity[",        "LINT.",             "#region",
    "#endregion",       "@formatter:",      "codespell:",        "spellchecker:",
    "#pragma",          "$FlowFixMe",       "@flow",             "rustfmt::",
    "-*-",              "vim:",             "vi:",               "SPDX-License-Identifier:",
    "go:",              "+build",           "nolint",            "lint:"};



}  // namespace

std::size_t itemMarkerLength(std::string_view text) {
  const std::size_t marker = bareItemMarker(text);
  if (marker == 0 || marker >= text.size() || !isSpaceOrTab(text[marker])) return 0;
  std::size_t end = marker;
  while (end < text.size() && isSpaceOrTab(text[end])) ++end;
  return end < text.size() ? end : 0;
}

bool isLoneMarker(std::string_view text) {
  if (!text.empty() && bareItemMarker(text) == text.size()) return true;
  return !text.empty() && text.size() <= 6 && text.find_first_not_of('#') == std::string_view::npos;
}

bool opensWithTag(std::string_view text) {
  if (text.size() >= 2 && (text[0] == '@' || text[0] == '\\') && isLetter(text[1])) return true;
  for (const std::string_view tag : shoutedTags) {
    if (text.starts_with(tag) && (text.size() == tag.size() || !isLetter(text[tag.size()])))
      return true;
  }
  for (const std::string_view tag : namedTags) {
    if (text.starts_with(tag) && text.size() > tag.size() && text[tag.size()] == ':') return true;
  }
  return false;
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
  if (line.textOffset == 0) {
    // "//go:generate", "//nolint:errcheck", "//export Name", "//line a.go:1":
    // tools read a word glued to the marker.
    std::size_t word = 0;
    while (word < text.size() && (isLower(text[word]) || isDigit(text[word]) ||
                                  text[word] == '_' || text[word] == '-' || text[word] == '.'))
      ++word;
    if (word > 0 && word < text.size() && text[word] == ':') return true;
    for (const std::string_view glued : {"export", "line", "extern", "sys", "sysnb", "+build"}) {
      if (text.starts_with(glued) &&
          (text.size() == glued.size() || text[glued.size()] == ' ' || text[glued.size()] == '\t'))
        return true;
    }
  }
  for (const std::string_view prefix : directivePrefixes) {
    if (text.starts_with(prefix)) return true;
  }
  return false;
}

Switch reflowSwitch(std::string_view text) {
  if (text == "brindle: off") return Switch::off;
  if (text == "brindle: on") return Switch::on;
  return Switch::none;
}

bool canOpenLine(std::string_view word, bool touchesMarker) {
  if (word.empty()) return true;
  if (touchesMarker && (word[0] == '/' || word[0] == '!')) return false;
  if (isLoneMarker(word) || opensWithTag(word) || !fenceOf(word).empty()) return false;
  if (startsWithMarker(word, slashComments) || word[0] == '|' || word[0] == '>')
    return false;
  if (readsAsCode(word) || readsAsDrawing(word)) return false;
  for (const std::string_view prefix : directivePrefixes) {
    if (word.starts_with(prefix)) return false;
  }
  return true;
}

// Rules of punctuation ("-----", "=== x ==="), drawings with few letters,
// and anything drawn with box characters. A drawing with labels needs a
// stroke of three like characters, so that prose punctuation never makes
// one.
bool readsAsDrawing(std::string_view text) {
  std::size_t visible = 0, wordish = 0, stroke = 1, longestStroke = 0;
  UChar32 last = 0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
  // Without box characters, which only non-ASCII text can hold, a line is
  // settled as prose once its word characters are too many for the rest to
  // outweigh them.
  const bool ascii = asciiRunEnd(text, 0) == text.size();
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

bool canCloseLine(std::string_view word) { return !readsAsCode(word); }

// Short text ending in ";" that is still the end of a sentence: two or more
// plain lowercase words ("textual order;"), not opening as a statement or a
// declaration does ("return;", "int x;", "let y;").
bool endsASentence(std::string_view text, std::size_t words) {
  static constexpr std::array<std::string_view, 30> statementWords{
      "auto",  "bool",   "break", "char",  "const",  "continue", "defer",   "delete",
      "double", "enum",  "fn",    "float", "goto",   "import",   "int",     "let",
      "long",  "mut",    "new",   "package", "pub",  "return",   "short",   "static",
      "struct", "throw", "type",  "use",   "using",  "var"};
  if (words < 2) return false;
  const std::string_view body = text.substr(0, text.size() - 1);
  if (body.find_first_not_of("abcdefghijklmnopqrstuvwxyz ") != std::string_view::npos) return false;
  const std::string_view first = body.substr(0, body.find(' '));
  return std::find(statementWords.begin(), statementWords.end(), first) == statementWords.end();
}

bool readsAsCode(std::string_view text) {
  if (text.starts_with("#include") || text.starts_with("#define") || text.starts_with("#if") ||
      text.starts_with('}'))
    return true;
  // A literal or a dump of values: a name right before a brace that opens
  // something (Header{"Set-Cookie", AuxCall{reflect). "{@link x}", "${HOME}"
  // and "Value{}" in a sentence are not.
  for (std::size_t at = text.find('{', 1); at != std::string_view::npos; at = text.find('{', at + 1)) {
    const auto before = static_cast<unsigned char>(text[at - 1]);
    const char after = at + 1 < text.size() ? text[at + 1] : ' ';
    if ((std::isalnum(before) != 0 || before == '_') && after != '}' && after != ' ' && after != '@')
      return true;
  }
  if (text.ends_with('{') || text.ends_with('}') || text.ends_with(slashComments.blockClose)) return true;
  if (!text.ends_with(';')) return false;
  // A sentence may end in a semicolon too; a statement is short or assigns.
  const auto words = std::count(text.begin(), text.end(), ' ') + 1;
  if (text.find(" = ") != std::string_view::npos || text.ends_with(");")) return true;
  return words <= 6 && !endsASentence(text, static_cast<std::size_t>(words));
}

}  // namespace brindlewort
