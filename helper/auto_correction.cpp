#include "helper/auto_correction.h"

#include <cstddef>
#include <optional>

#include "helper/typo_corrections.h"
#include "reflow/source_language.h"

namespace brindlewort {

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool isAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
char toAsciiLower(char c) { return isAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }
char toAsciiUpper(char c) { return isAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// Stray carriage returns before the line's own ending count as white space;
// the one that ends the line is put back, so CR-LF files stay CR-LF.
bool isTrailingBlank(char c) {
  return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\r';
}

// Letters, digits, '_' and every non-ASCII byte glue a word into a longer
// token (an identifier or a word in another script), which is left alone.
bool isWordByte(char c) {
  return isAsciiLetter(c) || isAsciiDigit(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// "go:build", "nolint:errcheck": tool directives that
// must keep "//" glued to them to keep working.
bool looksLikeDirective(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (isAsciiLetter(text[i]) || isAsciiDigit(text[i]) || text[i] == '_' ||
                             text[i] == '-'))
    ++i;
  return i > 0 && i + 1 < text.size() && text[i] == ':' && text[i + 1] != ' ' &&
         text[i + 1] != '\t';
}

// A word right after these characters is part of code: a member access,
// a path, a variable, an escape.
bool precedesCode(char c) {
  return c == '.' || c == '$' || c == '@' || c == '#' || c == '\\' || c == '/' || c == ':' ||
         c == '=' || c == '<' || c == '>' || c == '&' || c == '%';
}

// A word right before these is part of code: a call, a subscript, generics,
// an assignment, a path.
bool followsCode(std::string_view rest) {
  if (rest.empty()) return false;
  const char c = rest.front();
  if (c == '(' || c == '[' || c == '<' || c == '=' || c == '/' || c == '\\' || c == '$' ||
      c == '@' || c == '#' || c == '%')
    return true;
  // "teh.foo" or "teh::foo" continue an expression; "teh." ends a sentence.
  if ((c == '.' || c == ':') && rest.size() > 1 && (isWordByte(rest[1]) || rest[1] == ':'))
    return true;
  return false;
}

enum class WordCase { lower, capitalized, upper, mixed };

WordCase caseOf(std::string_view word) {
  bool allLower = true;
  bool allUpper = true;
  for (char c : word) {
    allLower = allLower && isAsciiLower(c);
    allUpper = allUpper && isAsciiUpper(c);
  }
  if (allLower) return WordCase::lower;
  if (allUpper && word.size() > 1) return WordCase::upper;
  bool restLower = true;
  for (char c : word.substr(1)) restLower = restLower && isAsciiLower(c);
  if (isAsciiUpper(word.front()) && restLower) return WordCase::capitalized;
  return WordCase::mixed;
}

void appendInCase(std::string_view correction, WordCase wordCase, std::string& out) {
  for (std::size_t i = 0; i < correction.size(); ++i) {
    const char c = correction[i];
    if (wordCase == WordCase::upper || (wordCase == WordCase::capitalized && i == 0))
      out += toAsciiUpper(c);
    else
      out += c;
  }
}

// The correction of a word as it stands in the text, or nothing.
bool appendCorrectedWord(std::string_view word, std::string& out) {
  const WordCase wordCase = caseOf(word);
  if (wordCase == WordCase::mixed) return false;
  std::string lower;
  lower.reserve(word.size());
  for (char c : word) lower += toAsciiLower(c);
  const auto correction = typoCorrection(lower);
  if (!correction) return false;
  appendInCase(*correction, wordCase, out);
  return true;
}

// Fixes misspelt words in a comment's prose, skipping `code spans` (an
// unclosed backtick protects the rest of the line) and identifier-like
// tokens.
void appendProse(std::string_view text, std::string& out) {
  bool inCode = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '`') {
      inCode = !inCode;
      out += c;
      ++i;
      continue;
    }
    if (inCode || !isWordByte(c)) {
      out += c;
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && isWordByte(text[end])) ++end;
    const std::string_view token = text.substr(i, end - i);
    bool lettersOnly = true;
    for (char t : token) lettersOnly = lettersOnly && isAsciiLetter(t);
    // "--seperate-lines" names a command-line option.
    const bool afterOptionDashes = i >= 2 && text[i - 1] == '-' && text[i - 2] == '-';
    const bool inCodeContext = (i > 0 && precedesCode(text[i - 1])) || afterOptionDashes ||
                               followsCode(text.substr(end));
    if (!lettersOnly || inCodeContext || !appendCorrectedWord(token, out)) out += token;
    i = end;
  }
}

void appendCorrectedLine(std::string_view line, std::string& out) {
  std::size_t indent = 0;
  while (indent < line.size() && (line[indent] == ' ' || line[indent] == '\t')) ++indent;
  // Code lines stay byte for byte: their trailing blanks may sit inside a
  // multi-line string literal.
  const CommentSyntax* syntax = lineSyntaxOf(line);
  if (syntax == nullptr) {
    out += line;
    return;
  }
  while (!line.empty() && isTrailingBlank(line.back())) line.remove_suffix(1);
  std::size_t textStart = indent;
  if (syntax == &slashComments) {
    while (textStart < line.size() && line[textStart] == '/') ++textStart;
  } else {
    textStart += markerAt(line, indent, *syntax).size();
  }
  const std::string_view prefix = line.substr(0, textStart);
  const std::string_view text = line.substr(textStart);
  out += prefix;
  if (looksLikeDirective(text)) {
    out += text;
    return;
  }
  // Only plain "//" comments get the space: "///" and "//!" are doc
  // comments with their own conventions, and "//---" is a separator.
  // The other markers keep their text as it is written after them.
  const bool plainComment = syntax == &slashComments && textStart - indent == slashComments.lineMarker.size();
  if (plainComment && !text.empty() && (isAsciiLetter(text[0]) || isAsciiDigit(text[0])))
    out += ' ';
  appendProse(text, out);
}

}  // namespace

std::string autoCorrectString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8 + 16);
  std::size_t start = 0;
  while (true) {
    const std::size_t newline = text.find('\n', start);
    std::string_view line =
        text.substr(start, newline == std::string_view::npos ? std::string_view::npos
                                                             : newline - start);
    const bool carriageReturn = !line.empty() && line.back() == '\r';
    if (carriageReturn) line.remove_suffix(1);
    appendCorrectedLine(line, out);
    if (carriageReturn) out += '\r';
    if (newline == std::string_view::npos) break;
    out += '\n';
    start = newline + 1;
  }
  return out;
}

}  // namespace brindlewort
