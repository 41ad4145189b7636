#include "comment_detection.h"

#include <array>

#include "characters.h"
#include "comment_detection_internal.h"
#include "grapheme_cursor.h"
#include "scalar_decoding.h"

namespace brindlewort {

namespace {

bool isIndentationScalar(char32_t c) { return c == ' ' || c == '\t'; }

// Letters plus the four openers that may start comment text: ( ) ` "
bool isTextStartScalar(char32_t c) {
  return c == '(' || c == ')' || c == '`' || c == '"' || isLetterScalar(c);
}

constexpr auto asciiTextStart = [] {
  std::array<bool, 128> table{};
  for (int c = 'a'; c <= 'z'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (int c = 'A'; c <= 'Z'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (const char c : {'(', ')', '`', '"'}) table[static_cast<std::size_t>(c)] = true;
  return table;
}();

template <typename Predicate>
bool allScalars(std::string_view character, Predicate predicate) {
  for (std::size_t pos = 0; pos < character.size();) {
    if (!predicate(nextScalar(character, pos))) return false;
  }
  return true;
}

bool isOnlySpaces(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

bool isSingleByteCharacter(std::string_view line, std::size_t pos, std::size_t end, char c) {
  return end == pos + 1 && line[pos] == c;
}

}  // namespace

bool mayHavePrefix(std::string_view line) {
  if (line.empty()) return false;
  GraphemeCursor cursor(line);
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t end = cursor.characterEnd(pos);
    const std::string_view character = line.substr(pos, end - pos);
    if (character == "/") return true;
    if (!allScalars(character, isIndentationScalar)) {
      if (allScalars(character, isLetterScalar) ||
          allScalars(character, isWhitespaceOrNewlineScalar)) {
        return pos != 0;
      }
      return true;
    }
    pos = end;
  }
  return true;
}

std::optional<std::size_t> textStart(std::string_view line) {
  GraphemeCursor cursor(line);

  std::optional<std::size_t> letterPosition;
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t scalarStart = pos;
    const auto byte = static_cast<unsigned char>(line[pos]);
    if (byte < 0x80) {
      // ASCII is settled by a table: this loop runs over every line's prefix.
      ++pos;
      if (!asciiTextStart[byte]) continue;
    } else if (!isTextStartScalar(nextScalar(line, pos))) {
      continue;
    }
    letterPosition = cursor.characterStart(scalarStart);
    break;
  }

  // A marker after the first letter (code or a list item with a trailing
  // comment) means the text starts at the first non-blank instead.
  if (letterPosition) {
    const std::size_t slash = line.find("//");
    if (slash == std::string_view::npos || cursor.characterStart(slash) < *letterPosition) {
      return letterPosition;
    }
  }

  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t end = cursor.characterEnd(pos);
    if (!isSingleByteCharacter(line, pos, end, ' ') && !isSingleByteCharacter(line, pos, end, '/') &&
        !isSingleByteCharacter(line, pos, end, '\t')) {
      return pos;
    }
    pos = end;
  }
  return std::nullopt;
}

std::optional<std::string_view> commentPrefixGiven(std::string_view line, bool mayHave,
                                                   std::optional<std::size_t> start) {
  if (!mayHave) return std::nullopt;
  if (!start) return line;
  const std::string_view prefix = line.substr(0, *start);
  if (prefix.empty()) return std::nullopt;
  if (prefix.find("//") != std::string_view::npos) return prefix;
  if (isOnlySpaces(prefix)) return prefix;
  return std::nullopt;
}

std::optional<std::string_view> listPrefixGiven(std::string_view line, bool mayHave,
                                                std::optional<std::size_t> start,
                                                std::optional<std::string_view> comment) {
  if (!mayHave) return std::nullopt;
  if (!start) return line;
  std::string_view prefix = line.substr(0, *start);
  if (prefix.empty()) return std::nullopt;
  // Drop the comment marker and whatever stands before its first space; a
  // marker with spaces in front of it stays and so rules the list out.
  if (prefix.find("//") != std::string_view::npos) {
    const std::size_t space = prefix.find(' ');
    if (space != std::string_view::npos) prefix = prefix.substr(space + 1);
  }
  if (prefix.find("//") != std::string_view::npos) return std::nullopt;
  if (!comment) return prefix;
  if (sameCharacters(*comment, prefix)) return std::nullopt;
  return prefix;
}

std::optional<std::string_view> commentPrefix(std::string_view line) {
  return commentPrefixGiven(line, mayHavePrefix(line), textStart(line));
}

std::optional<std::string_view> listPrefix(std::string_view line) {
  const bool mayHave = mayHavePrefix(line);
  const auto start = textStart(line);
  return listPrefixGiven(line, mayHave, start, commentPrefixGiven(line, mayHave, start));
}

}  // namespace brindlewort
