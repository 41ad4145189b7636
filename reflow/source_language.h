#pragma once

// The table of languages: how each writes its comments and the string
// rules its lexer switches on, and which of them a file's name asks for. A
// language is plain data: the lexer reads these rows and knows nothing else
// about it. This table is the one place that spells a comment marker out.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace brindlewort {

// How a language writes its comments. A new kind of comment (another line
// marker, another block pair) is another row of this shape.
struct CommentSyntax {
  std::string_view lineMarker;  // starts a comment that runs to the line end
  // Markers that start a documentation comment in place of the line
  // marker; each is the line marker and one more byte.
  std::array<std::string_view, 2> docMarkers = {};
  // Repeated once more after a doc marker, this byte makes the line marker
  // followed by text instead, so that a "////////" rule stays text.
  char decoration = 0;
  std::string_view blockOpen = {};   // a block comment's pair; whether blocks
  std::string_view blockClose = {};  // nest is SourceLanguage::blockComments
  // The byte that may open the later lines of a block comment (" * ").
  char blockDecoration = 0;
  // Bytes that, right after the block opener, make it a doc comment's
  // opener ("/**", "/*!").
  std::string_view blockDocBytes = {};
  // The whole run of the line marker's first byte is the marker ("##",
  // ";;;", "%%", "---"): each convention stays as it is written. A doc
  // marker then is a single marker and one more byte followed by a blank
  // ("#' text", "#: text").
  bool markerRuns = false;
};

// The comments of the C family and of the languages that took them over.
inline constexpr CommentSyntax slashComments{
    .lineMarker = "//", .docMarkers = {"///", "//!"}, .decoration = '/', .blockOpen = "/*", .blockClose = "*/",
    .blockDecoration = '*', .blockDocBytes = "*!"};

// The comments of the languages that mark a line with '#', "--", ';' or
// '%'. Rows with block comments copy one and add their pair.
inline constexpr CommentSyntax hashComments{.lineMarker = "#", .docMarkers = {"#'", "#:"}, .markerRuns = true};
inline constexpr CommentSyntax dashComments{.lineMarker = "--", .markerRuns = true};
inline constexpr CommentSyntax semicolonComments{.lineMarker = ";", .markerRuns = true};
inline constexpr CommentSyntax percentComments{.lineMarker = "%", .markerRuns = true};

// The line-comment syntax whose line marker a line opens with (after
// blanks), or null. The marker's first byte tells them apart, so a line the
// lexer called a comment line needs no language to be taken apart.
const CommentSyntax* lineSyntaxOf(std::string_view line);

// Where the line marker starts when nothing but spaces and tabs stands
// before it: a byte offset into the line.
std::optional<std::size_t> lineMarkerAt(std::string_view line, const CommentSyntax& syntax);

// The marker that starts at `at` (where lineMarkerAt found the line
// marker): a doc marker, else the line marker. Views into the line.
std::string_view markerAt(std::string_view line, std::size_t at, const CommentSyntax& syntax);

// Whether some text (a word, a line's text) starts with a marker of the
// syntax, line or block: a comment inside a comment.
bool startsWithMarker(std::string_view text, const CommentSyntax& syntax);

struct SourceLanguage {
  enum class BlockComments { none, flat, nested };
  // What a ' outside literals and comments starts.
  enum class Apostrophe {
    ordinary,      // nothing
    charLiteral,   // a literal that ends at the next unescaped ' on the line
    charOrLabel,   // 'x' and '\n' are literals; 'a, 'static and 'outer: are not
    string,        // a string like "...", with the same triple-quoted form
  };
  // What a backquote outside literals and comments starts.
  enum class Backquote { ordinary, identifier, rawString, templateLiteral };
  // The """ form of strings.
  enum class TripleQuotes {
    none,
    escaped,   // backslash escapes apply
    raw,       // no escapes
    counted,   // no escapes; three or more quotes open and the same number close
  };
  // The prefix that makes the next string raw.
  enum class RawPrefix {
    none,
    parenthesised,  // R"delimiter(...)delimiter", also u8R, uR, UR, LR
    hashed,         // r"...", r#"..."#, with b and c in front
    letterR,        // r'...', r"...", r'''...''', r"""..."""
  };

  std::string_view name;
  BlockComments blockComments = BlockComments::flat;
  Apostrophe apostrophe = Apostrophe::charLiteral;
  Backquote backquote = Backquote::ordinary;
  TripleQuotes tripleQuotes = TripleQuotes::none;
  bool tripleApostrophes = false;   // '''...''' follows the rules of """..."""
  RawPrefix rawPrefix = RawPrefix::none;
  bool stringsSpanLines = false;    // "..." may hold line breaks
  bool lineSplicing = false;        // backslash-newline joins lines, in // comments too
  bool digitSeparators = false;     // the ' in 1'000 is part of the number
  bool extendedDelimiters = false;  // #"..."#, #"""..."""#
  bool verbatimStrings = false;     // @"..." with "" for a quote, $@"...", @$"..."
  bool regexLiterals = false;       // /.../ where an operand is expected
  bool lineStrings = false;         // \\ makes the rest of the line a string
  CommentSyntax comments = slashComments;
  // A triple-quoted string that is the first statement of a module, a
  // class or a function is its documentation, re-flowed as a block comment.
  bool docstrings = false;

  // The rules of the languages whose line marker is not "//". Each one
  // only ever turns what would be a comment into code.
  enum class MarkerPlace {
    anywhere,   // outside literals
    wordStart,  // after a blank, ';', '&', '|', '(' or ')', or at the line start
    lineStart,  // only with nothing but blanks before it
  };
  MarkerPlace markerPlace = MarkerPlace::anywhere;
  bool dashOperators = false;       // "-->" and "--|" are operators: dashes then a symbol
  bool backslashEscapes = false;    // a backslash in code takes the next byte along: \# \% \;
  bool dollarTakesNext = false;     // $# $' $" $% are variables or characters
  bool questionChars = false;       // ?; and ?# are character literals
  char escapeChar = '\\';           // what escapes inside "..."
  bool literalApostrophes = false;  // '...' and '''...''' have no escapes
  bool codeContinues = false;       // a code line ending in a backslash makes the next one code
  // Perl's terminator may follow a blank when quoted (<< "EOF"); Ruby's
  // never does, since << "text" appends a string there.
  enum class HereDocuments { none, shell, script, tightScript, hereStrings };
  HereDocuments hereDocuments = HereDocuments::none;  // <<EOF ... EOF, @" ... "@
  enum class QuoteLike { none, perl, ruby, elixir };
  QuoteLike quoteLike = QuoteLike::none;  // q{...} s/a/b/, %q(...) %w[...], ~s(...)
  enum class LongBrackets { none, lua, cmake };
  LongBrackets longBrackets = LongBrackets::none;  // [[...]] [==[...]==], and --[[ or #[[
  bool dollarQuotes = false;        // $$...$$ and $tag$...$tag$
  bool indentedStrings = false;     // ''...'' with ''' and ''$ inside
  bool recipeLines = false;         // a line that starts with a tab is a command
  enum class TextRegions { none, pod, embeddedDocs, defines };
  TextRegions textRegions = TextRegions::none;  // =pod..=cut, =begin..=end, define..endef
  bool dataTail = false;            // after a line __END__ or __DATA__ all is data
  bool yamlScalars = false;         // quotes only open a scalar; | and > open block scalars
  bool plainDoubleQuotes = false;   // " is an ordinary character
};

// The comment syntax of a language; with none (a text whose language is not
// known), that of the line rule: a line is a comment when its first
// non-blank characters are the line marker.
const CommentSyntax& commentSyntaxOf(const SourceLanguage* language);

// What a path says about its language. `language` is set only for
// `known`; `noLineComments` names formats without line comments (text,
// markup, tables), so a run over a whole repository can skip those files.
struct LanguageLookup {
  enum class Kind { known, unknown, noLineComments };
  Kind kind = Kind::unknown;
  const SourceLanguage* language = nullptr;
};

// Looks up the path's last component: its name (Makefile, CMakeLists.txt,
// Dockerfile), then its extension, ignoring case. An extension-less file
// under an include folder is a C++ header.
LanguageLookup languageForPath(std::string_view path);

// The path's answer, and where the path says nothing, the text's first
// line (a shebang: "#!/usr/bin/env python3") or an editor modeline in its
// first or last five lines ("vim: set ft=sh:", "-*- mode: ruby -*-").
LanguageLookup languageForFile(std::string_view path, std::string_view text);

// A language by the name an editor gives it (a modeline's file type, a
// language server's languageId: "python", "sh", "cpp"), ignoring case.
const SourceLanguage* languageNamed(std::string_view editorName);

// Every language of the table once, in the table's order: what a user may
// choose from.
std::vector<const SourceLanguage*> knownLanguages();

// The language of the table with that name ("C++", "Swift"); null when
// there is none.
const SourceLanguage* languageCalled(std::string_view name);

}  // namespace brindlewort
