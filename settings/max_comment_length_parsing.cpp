#include "settings/max_comment_length_parsing.h"

#include <limits>

#include "engine/comment_length.h"

namespace brindlewort {

std::optional<std::int64_t> parseStrictInteger(QStringView text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  if (i == text.size()) return std::nullopt;
  // Accumulate towards the negative side, which holds one more value, so
  // the most negative number parses without overflow.
  constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    const auto digit = static_cast<std::int64_t>(c - u'0');
    if (value < (lowest + digit) / 10) return std::nullopt;
    value = value * 10 - digit;
  }
  if (negative) return value;
  if (value == lowest) return std::nullopt;
  return -value;
}

std::int64_t maxCommentLengthFromStoredText(const std::optional<QString>& storedText) {
  if (!storedText) return defaultMaxCommentLength;
  const auto number = parseStrictInteger(*storedText);
  if (!number) return defaultMaxCommentLength;
  if (*number == 0) return noCommentLengthLimit;
  return *number;
}

std::int64_t storedNumberForMaxCommentLength(std::int64_t length) {
  return length == noCommentLengthLimit ? 0 : length;
}

}  // namespace brindlewort
