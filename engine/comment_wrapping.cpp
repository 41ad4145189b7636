#include "comment_wrapping.h"

#include <algorithm>
#include <optional>

#include "characters.h"
#include "comment_detection.h"
#include "comment_detection_internal.h"

namespace brindlewort {

namespace {

struct PrefixWords {
  int count = 0;
  std::string_view last;
};

PrefixWords splitPrefixWords(std::string_view prefix) {
  PrefixWords words;
  std::size_t pos = 0;
  while (true) {
    pos = prefix.find_first_not_of(' ', pos);
    if (pos == std::string_view::npos) break;
    const std::size_t end = std::min(prefix.find(' ', pos), prefix.size());
    ++words.count;
    words.last = prefix.substr(pos, end - pos);
    pos = end;
  }
  return words;
}

std::optional<std::string> continuationPrefixFor(std::string_view prefix,
                                                 const std::optional<std::string_view>& list) {
  const PrefixWords words = splitPrefixWords(prefix);
  // Blanking the marker lines continuation lines up under the first
  // line's text.
  if (words.count >= 2) return blankingOccurrences(prefix, words.last, SearchDirection::backward);
  const bool fromListPrefix = list && sameCharacters(*list, prefix);
  if (prefix.empty() || fromListPrefix) {
    return blankingOccurrences(prefix, words.last, SearchDirection::backward);
  }
  return std::nullopt;
}

}  // namespace

std::string wrapParagraph(std::string_view paragraph, std::int64_t maxLength,
                          bool treatAsPlainText, std::size_t sizeLimit) {
  const bool mayHave = mayHavePrefix(paragraph);
  const auto start = textStart(paragraph);
  const auto comment = commentPrefixGiven(paragraph, mayHave, start);
  const auto list = listPrefixGiven(paragraph, mayHave, start, comment);

  std::string_view prefix;
  if (comment) {
    prefix = *comment;
  } else if (list) {
    prefix = *list;
  } else if (!treatAsPlainText) {
    return std::string(paragraph);
  }
  if (!start) return std::string(paragraph);

  const auto prefixLength = static_cast<std::int64_t>(characterCount(prefix));
  const std::int64_t effectiveLimit = std::max(maxLength, prefixLength);
  std::string_view rest = paragraph.substr(*start);
  const std::optional<std::string> continuation = continuationPrefixFor(prefix, list);
  const std::string_view nextLinePrefix = continuation ? std::string_view(*continuation) : prefix;

  // Plain ASCII without carriage returns is nearly every paragraph; there a
  // word's length is its byte count.
  const bool bytesAreCharacters = isAscii(rest) && rest.find('\r') == std::string_view::npos;
  const auto lengthOf = [bytesAreCharacters](std::string_view word) {
    return static_cast<std::int64_t>(bytesAreCharacters ? word.size() : characterCount(word));
  };

  // The current line is built in place at the end of the result.
  std::string result;
  result.reserve(paragraph.size() + paragraph.size() / 16 + 16);
  result.append(prefix);
  std::size_t currentStart = 0;
  // Character count of the current line, kept as it grows: recounting the
  // line for every word would make long paragraphs quadratic.
  std::int64_t currentLength = prefixLength;
  // The line holds nothing beyond its prefix; only empty words keep it so.
  bool bare = true;

  const auto place = [&](std::string_view word) {
    const std::int64_t wordLength = lengthOf(word);
    if (!bare && currentLength + wordLength >= effectiveLimit) {
      result.push_back('\n');
      currentStart = result.size();
      result.append(nextLinePrefix);
      currentLength = prefixLength;
      bare = true;
    }
    if (!bare) {
      result.push_back(' ');
      ++currentLength;
    }
    result.append(word);
    currentLength += wordLength;
    if (!word.empty()) bare = false;
  };

  // Words are split at space characters; a space that carries a combining
  // or joining mark is part of a larger character, not a split.
  const auto nextSpace = [](std::string_view text, std::size_t from) {
    std::size_t space = text.find(' ', from);
    while (space != std::string_view::npos && !isStandaloneBlank(text, space))
      space = text.find(' ', space + 1);
    return space;
  };
  while (true) {
    const std::size_t space = nextSpace(rest, 0);
    if (space == std::string_view::npos) break;
    place(rest.substr(0, space));
    // Only a line holding a word is sure to stay in the result.
    if (!bare && result.size() > sizeLimit) return result;
    rest.remove_prefix(space + 1);
    // Collapse a run of spaces, but keep a final lone space: it becomes the
    // empty last word that leaves one trailing space.
    std::size_t nonSpace = 0;
    while (nonSpace < rest.size() && rest[nonSpace] == ' ' && isStandaloneBlank(rest, nonSpace))
      ++nonSpace;
    if (nonSpace == rest.size()) {
      if (rest.size() > 1) rest.remove_prefix(rest.size() - 1);
    } else {
      rest.remove_prefix(nonSpace);
    }
  }
  if (!rest.empty()) place(rest);
  // A line that never got a word is not part of the result.
  if (bare) result.resize(currentStart);
  return result;
}

}  // namespace brindlewort
