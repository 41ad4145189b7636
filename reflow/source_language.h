#pragma once

// The lexing rules of the languages whose "//" comments can be re-flowed,
// and which of them a file's name asks for. A language is plain data: the
// comment-line scanner reads these switches and knows nothing else about it.

#include <string_view>

namespace brindlewort {

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
};

// What a path's extension says about its language. `language` is set only
// for `known`; `noLineComments` names languages without "//" comments, so a
// run over a whole repository can skip those files.
struct LanguageLookup {
  enum class Kind { known, unknown, noLineComments };
  Kind kind = Kind::unknown;
  const SourceLanguage* language = nullptr;
};

// Looks up the extension of the path's last component, ignoring case.
LanguageLookup languageForPath(std::string_view path);

}  // namespace brindlewort
