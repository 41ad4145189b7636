#include "reflow/line_kind_tables.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>

#include "base/space_or_tab.h"
#include "reflow/source_language.h"

namespace brindlewort {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
// A character of a name; bytes of non-ASCII letters count too.
bool isNameChar(char c) {
  return isLower(c) || isUpper(c) || isDigit(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// Whether c is one of the few bytes of `set`: a loop the compiler unrolls,
// cheaper than a library search for each line judged.
constexpr bool oneOf(char c, std::string_view set) {
  for (const char s : set) {
    if (s == c) return true;
  }
  return false;
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && isSpaceOrTab(text[at])) ++at;
  return at;
}

std::size_t skipName(std::string_view text, std::size_t at) {
  while (at < text.size() && isNameChar(text[at])) ++at;
  return at;
}

// The keyword at the start of the text followed by a blank (or, with
// `paren`, by an opening parenthesis): the offset after it, or 0.
std::size_t keyword(std::string_view text, std::span<const std::string_view> words, bool paren) {
  for (const std::string_view word : words) {
    if (text.size() <= word.size() || text[0] != word[0] || !text.starts_with(word)) continue;
    const char next = text[word.size()];
    if (isSpaceOrTab(next) || (paren && next == '(')) return word.size();
  }
  return 0;
}

constexpr std::array<std::string_view, 65> directives{
    "#endregion", "#nosec", "#pragma", "#region", "$FlowFixMe", "+build", "-*-", "@flow",
    "@formatter:", "@ts-", "IWYU pragma", "LINT.", "NOLINT", "NOSONAR", "SPDX-License-Identifier:",
    "biome-ignore", "c8 ignore", "check=", "clang-format off", "clang-format on", "codespell:",
    "coding:", "coding=", "coverity[", "cppcheck-suppress", "encoding:", "escape=",
    "eslint-disable", "eslint-enable", "eslint-env", "ex:", "flake8:", "fmt: off", "fmt: on",
    "fmt: skip", "frozen_string_literal:", "go:", "gofail:", "isort:", "istanbul ignore", "jscs:",
    "jshint", "ktlint-disable", "ktlint-enable", "lint:", "mypy:", "nolint", "noqa",
    "pragma: no cover", "prettier-ignore", "pylint:", "pyright:", "rubocop:", "ruff:", "rustfmt::",
    "shellcheck ", "spellchecker:", "swift-format-ignore", "swiftlint:", "syntax=", "tslint:",
    "type: ignore", "vi:", "vim:", "yamllint "};

constexpr std::array<std::string_view, 5> glued{"export", "extern", "line", "sys", "sysnb"};

constexpr std::array<std::string_view, 9> shouted{"BUG",  "FIXME", "HACK",    "MARK", "NOTE",
                                                  "SAFETY", "TODO", "WARNING", "XXX"};

constexpr std::array<std::string_view, 7> named{"Deprecated", "Important", "Invariant", "Note",
                                                "Precondition", "Safety", "Warning"};

constexpr std::array<std::string_view, 30> statements{
    "auto",   "bool",   "break", "char",  "const",   "continue", "defer",  "delete",
    "double", "enum",   "float", "fn", "goto",    "import",   "int",    "let",
    "long",   "mut",    "new",   "package", "pub",   "return",   "short",  "static",
    "struct", "throw",  "type",  "use",   "using",   "var"};

// Short text ending in ";" that is still the end of a sentence: two or more
// plain lowercase words ("textual order;"), not opening as a statement or a
// declaration does ("return;", "int x;", "let y;").
bool endsASentence(std::string_view text, std::size_t words) {
  if (words < 2) return false;
  const std::string_view body = text.substr(0, text.size() - 1);
  if (body.find_first_not_of("abcdefghijklmnopqrstuvwxyz ") != std::string_view::npos) return false;
  const std::string_view first = body.substr(0, body.find(' '));
  return std::find(statements.begin(), statements.end(), first) == statements.end();
}

// "x = y;", "f(a, b);", "return;": a statement is short or assigns; a
// sentence may end in a semicolon too.
bool statement(std::string_view text) {
  if (!text.ends_with(';')) return false;
  const auto words = std::count(text.begin(), text.end(), ' ') + 1;
  if (text.find(" = ") != std::string_view::npos || text.ends_with(");")) return true;
  return words <= 6 && !endsASentence(text, static_cast<std::size_t>(words));
}

bool preprocessor(std::string_view text) {
  return text.starts_with("#include") || text.starts_with("#define") || text.starts_with("#if");
}

bool closingBrace(std::string_view text) { return text.starts_with('}'); }

// "grep x file |\", "cc -o x \": a shell or macro line that goes on below.
bool continuedLine(std::string_view text) {
  if (text.size() < 2 || text.back() != '\\') return false;
  const char before = text[text.size() - 2];
  return isSpaceOrTab(before) || before == '|';
}

// "]", ")", "});", "]),": brackets closing a block of code.
bool closingBrackets(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ']' || text[at] == ')' || text[at] == '}')) ++at;
  if (at == 0) return false;
  return text.find_first_not_of(";,)", at) == std::string_view::npos;
}

// A block opened or closed at the line's end: "if x {", "}", the end of a
// block comment.
bool blockEdge(std::string_view text) {
  return text.ends_with('{') || text.ends_with('}') || text.ends_with(slashComments.blockClose);
}

// A literal or a dump of values: a name right before a brace that opens
// something (Header{"Set-Cookie", AuxCall{reflect). "{@link x}", "${HOME}"
// and "Value{}" in a sentence are not.
bool literal(std::string_view text) {
  for (std::size_t at = text.find('{', 1); at != std::string_view::npos; at = text.find('{', at + 1)) {
    const auto before = static_cast<unsigned char>(text[at - 1]);
    const char after = at + 1 < text.size() ? text[at + 1] : ' ';
    if ((std::isalnum(before) != 0 || before == '_') && after != '}' && after != ' ' && after != '@')
      return true;
  }
  return false;
}

// ".optional()", ".map(|x| x + 1)": a link of a method chain.
bool memberChain(std::string_view text) {
  if (!text.starts_with('.')) return false;
  const std::size_t name = skipName(text, 1);
  return name > 1 && name < text.size() && text[name] == '(';
}

// "tx.rollback()", "c.Assert(err, IsNil)": a call on a lowercase name,
// alone on the line.
bool call(std::string_view text) {
  std::size_t at = 0, dots = 0;
  for (;;) {
    const std::size_t start = at;
    at = skipName(text, at);
    if (at == start || isDigit(text[start])) return false;
    if (at < text.size() && text[at] == '.') {
      if (!isLower(text[start]) && text[start] != '_') return false;
      ++at;
      ++dots;
      continue;
    }
    break;
  }
  if (dots == 0 || at >= text.size() || text[at] != '(') return false;
  std::string_view end = text;
  if (end.ends_with(';') || end.ends_with(',')) end.remove_suffix(1);
  while (!end.empty() && isSpaceOrTab(end.back())) end.remove_suffix(1);
  return end.size() > at && end.ends_with(')');
}

// "return errors.New(x)", "return n;", "return a + b".
bool returnStatement(std::string_view text) {
  if (text.empty() || text[0] != 'r' || !text.starts_with("return") || text.size() == 6 || !isSpaceOrTab(text[6])) return false;
  const std::size_t start = skipBlanks(text, 6);
  std::size_t at = start;
  while (at < text.size() && (isNameChar(text[at]) || text[at] == '.')) ++at;
  if (at == start) return false;
  if (at < text.size() && text[at] == '(') return text.ends_with(')');
  if (at + 1 == text.size() && text[at] == ';') return true;
  at = skipBlanks(text, at);
  if (at >= text.size() || !oneOf(text[at], "-+*/|&")) return false;
  at = skipBlanks(text, at + 1);
  return at < text.size();
}

// "let d = Tree(items)", "const x: u32 = 1", "var err error := f()",
// "local n = #t".
bool declaration(std::string_view text) {
  static constexpr std::array<std::string_view, 7> words{"auto", "const", "let", "local", "mut", "val", "var"};
  if (text.empty() || !oneOf(text[0], "aclmv")) return false;
  std::size_t at = keyword(text, words, false);
  if (at == 0) return false;
  at = skipBlanks(text, at);
  const std::size_t name = at;
  at = skipName(text, at);
  if (at == name) return false;
  at = skipBlanks(text, at);
  if (at < text.size() && text[at] == ':' && at + 1 < text.size() && text[at + 1] != '=') {
    ++at;
    const std::size_t type = at = skipBlanks(text, at);
    while (at < text.size() && (isNameChar(text[at]) || oneOf(text[at], "<>[], ")))
      ++at;
    if (at == type) return false;
  }
  if (at < text.size() && text[at] == ':') ++at;
  if (at >= text.size() || text[at] != '=') return false;
  return skipBlanks(text, at + 1) < text.size();
}

// "state = dfa.start", "n += 1;": one name set to one value.
bool assignment(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (isNameChar(text[at]) || text[at] == '.' || text[at] == '[' || text[at] == ']'))
    ++at;
  if (at == 0) return false;
  at = skipBlanks(text, at);
  if (at >= text.size()) return false;
  if (text[at] == ':' || text[at] == '+' || text[at] == '-') {
    if (at + 1 >= text.size() || text[at + 1] != '=') return false;
    at += 2;
  } else if (text[at] == '=') {
    ++at;
  } else {
    return false;
  }
  at = skipBlanks(text, at);
  if (at >= text.size()) return false;
  const char first = text[at];
  if (!isNameChar(first) && !oneOf(first, ".\"'([{-")) return false;
  // The value is one token: blanks only before a closing ";".
  const std::size_t blank = text.find_first_of(" \t", at);
  if (blank == std::string_view::npos) return true;
  return skipBlanks(text, blank) + 1 == text.size() && text.back() == ';';
}

// "for (i = 0; i < n; ++i)", "if (x)", "for byte in haystack:",
// "if state == dead:", "else:": control flow, also as pseudo-code.
bool control(std::string_view text) {
  static constexpr std::array<std::string_view, 6> parenthesised{"else if", "for", "if", "match",
                                                                 "switch", "while"};
  static constexpr std::array<std::string_view, 4> colon{"elif", "for", "if", "while"};
  if (text.empty() || !oneOf(text[0], "efimsw")) return false;
  if (text.starts_with("else")) {
    const std::size_t at = skipBlanks(text, 4);
    if (at + 1 == text.size() && (text[at] == ':' || text[at] == '{')) return true;
  }
  if (const std::size_t at = keyword(text, parenthesised, true); at > 0) {
    const std::size_t open = skipBlanks(text, at);
    if (open < text.size() && text[open] == '(' && text.ends_with(')')) return true;
  }
  const std::size_t at = keyword(text, colon, false);
  if (at == 0 || !text.ends_with(':')) return false;
  const std::string_view condition = text.substr(at, text.size() - 1 - at);
  if (condition.find_first_of(".,;!?") != std::string_view::npos) return false;
  return condition.find(" in ") != std::string_view::npos || condition.find(" not in ") != std::string_view::npos ||
         condition.find_first_of("<>") != std::string_view::npos || condition.find("==") != std::string_view::npos ||
         condition.find("!=") != std::string_view::npos;
}

// "def parse(text):", "function M.glob(pattern)", "local function f(x)":
// the head of a function, commented out.
bool definition(std::string_view text) {
  static constexpr std::array<std::string_view, 4> words{"def", "fn", "function", "local function"};
  if (text.empty() || !oneOf(text[0], "dfl")) return false;
  std::size_t at = keyword(text, words, false);
  if (at == 0) return false;
  at = skipBlanks(text, at);
  const std::size_t name = at;
  while (at < text.size() && (isNameChar(text[at]) || text[at] == '.' || text[at] == ':')) ++at;
  if (at == name || at >= text.size() || text[at] != '(') return false;
  return text.ends_with(')') || text.ends_with("):") || text.ends_with('{');
}

constexpr std::array<CodeRule, 14> rules{{
    {"assignment", assignment, false},
    {"block edge", blockEdge, true},
    {"call", call, false},
    {"closing brace", closingBrace, true},
    {"closing brackets", closingBrackets, false},
    {"continued line", continuedLine, false},
    {"control", control, false},
    {"declaration", declaration, false},
    {"definition", definition, false},
    {"literal", literal, true},
    {"member chain", memberChain, true},
    {"preprocessor", preprocessor, true},
    {"return", returnStatement, false},
    {"statement", statement, true},
}};

}  // namespace

std::string_view prefixFrom(std::span<const std::string_view> sortedTable, std::string_view text) {
  if (text.empty()) return {};
  const auto [begin, end] = std::equal_range(
      sortedTable.begin(), sortedTable.end(), text.substr(0, 1),
      [](std::string_view a, std::string_view b) { return a.substr(0, 1) < b.substr(0, 1); });
  for (auto entry = begin; entry != end; ++entry) {
    if (text.starts_with(*entry)) return *entry;
  }
  return {};
}

std::string_view directivePrefixOf(std::string_view text) {
  // For each first byte, the entries that open with it: [begin, end).
  struct Index {
    std::array<std::uint8_t, 256> begin{}, end{};
  };
  static const Index index = [] {
    Index built;
    for (std::size_t i = directives.size(); i-- > 0;) {
      const auto first = static_cast<unsigned char>(directives[i][0]);
      if (built.end[first] == 0) built.end[first] = static_cast<std::uint8_t>(i + 1);
      built.begin[first] = static_cast<std::uint8_t>(i);
    }
    return built;
  }();
  if (text.empty()) return {};
  const auto first = static_cast<unsigned char>(text[0]);
  for (std::size_t i = index.begin[first]; i < index.end[first]; ++i) {
    if (text.starts_with(directives[i])) return directives[i];
  }
  return {};
}

std::span<const std::string_view> directivePrefixes() { return directives; }
std::span<const std::string_view> gluedDirectiveWords() { return glued; }
// Sorted.
constexpr std::string_view tableTags[] = {"caption", "col", "colgroup", "table", "tbody",
                                          "td",      "tfoot", "th",     "thead", "tr"};

// Sorted.
// HTML's, and those of C#'s XML doc comments.
constexpr std::string_view markupTags[] = {
    "blockquote", "br",   "dd",    "div",     "dl",      "dt",      "example", "exception",
    "h1",         "h2",   "h3",      "h4",    "h5",      "h6",      "hr",      "item",    "li",
    "list",       "ol",   "p",       "para",  "param",   "pre",     "remarks", "returns", "summary",
    "table",      "td",   "th",      "tr",    "typeparam", "ul",    "value"};

// Sorted.
constexpr std::string_view namingTags[] = {"arg",    "argument", "exception", "param",     "prop",     "property",
                                           "throw",  "throws",   "tparam",    "typeParam", "typeparam"};

std::span<const std::string_view> namingDocTags() { return namingTags; }
std::span<const std::string_view> blockMarkupTags() { return markupTags; }
std::span<const std::string_view> tableMarkupTags() { return tableTags; }
std::span<const std::string_view> shoutedTags() { return shouted; }
std::span<const std::string_view> namedTags() { return named; }
std::span<const std::string_view> statementWords() { return statements; }
std::span<const CodeRule> codeRules() { return rules; }

bool mayReadAsCode(std::string_view text) {
  if (text.empty()) return false;
  // First: closing brace or brackets, preprocessor, member chain, return.
  // Last: statement, control, definition, call, block edge ("*/"),
  // continued line.
  if (oneOf(text.front(), "}])#.r") || oneOf(text.back(), ";:){},/\\")) return true;
  // Assignment, declaration, statement (" = "); literal.
  return text.find('=') != std::string_view::npos || text.find('{') != std::string_view::npos;
}

}  // namespace brindlewort
